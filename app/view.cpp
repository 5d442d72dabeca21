#include "app/view.h"

#include "archive/tempfiles.h"
#include "common/cp932.h"
#include "common/quit.h"
#include "platform/locale.h"
#include "platform/msgbox.h"

namespace vesk {

using platform::TPlatformEvent;

std::string QuitQuestion(const std::string& sjisTitle, bool japanese) {
    if (japanese) return Sj("「") + sjisTitle + Sj("」を終了しますか？");
    return "Do you want to exit " + sjisTitle + "?";
}

TFormView::TFormView(platform::TPlatformWindow& window, TScreenManager& screen, TInputState& input,
                     TFrameTiming& timing, TFrameHooks hooks, platform::TClock& clock)
    : window_(window), screen_(screen), input_(input), timing_(timing), hooks_(std::move(hooks)), clock_(clock) {
    loop_ = std::make_unique<TLoopThread>(clock_, timing_, [this] {
        // A display change in progress runs no step.
        if (!switching_) FrameStep();
    }, [this] { window_.Wake(); });
    input_.MoveCursor = [this](std::int32_t x, std::int32_t y) { window_.WarpMouse(x, y); };
}

TFormView::~TFormView() {
    loop_->Stop();
    input_.MoveCursor = nullptr;
}

// Until the splash film can play, the splash ends at once; the script's
// first frame is the next one, as after a film.
void TFormView::SplashStep() { splashDone_ = true; }

void TFormView::FrameStep() {
    Step();
    if (hooks_.StepDone) hooks_.StepDone();
}

void TFormView::Step() {
    if (hooks_.HasProject && !hooks_.HasProject()) return;
    DeleteTempFiles();
    input_.BeginFrame(static_cast<std::int32_t>(timing_.LastFrameMs.load()));
    if (hooks_.StartOfFrame) hooks_.StartOfFrame();
    if (splashDone_) {
        if (hooks_.Interpreter) hooks_.Interpreter();
    } else {
        SplashStep();
    }
    if (QuitRequested.load() == 1) return;
    if (hooks_.Update) hooks_.Update();
    ++timing_.FrameCount;
    if (hooks_.PerformLoadSave && hooks_.PerformLoadSave()) skipDraw_ = 1;
    // Nothing is drawn in the frame of a load. (The drawing divisor is 1:
    // every other frame draws.)
    if (skipDraw_ >= 1) {
        --skipDraw_;
        return;
    }
    if (hooks_.Draw) hooks_.Draw(screen_);
    screen_.Present();
    if (hooks_.Presented) hooks_.Presented();
}

bool TFormView::AskQuit() {
    const std::uint8_t previous = QuitRequested.load();
    QuitRequested = 1;
    const std::string title = hooks_.Title ? hooks_.Title() : std::string();
    const platform::MsgResult answer =
        platform::ShowMessageBox(QuitQuestion(title, platform::SystemLanguageIsJapanese()), title,
                                 platform::MsgButtons::YesNo, platform::MsgIcon::Question);
    if (answer == platform::MsgResult::Yes) {
        closeRequested_ = true;
        return true;
    }
    QuitRequested = previous;
    return false;
}

bool TFormView::ToggleFullScreen() {
    switching_ = true;
    const bool wasFull = screen_.IsFullScreen();
    const bool ok = screen_.ToggleFullScreen();
    switching_ = false;
    return ok && screen_.IsFullScreen() != wasFull;
}

void TFormView::HandleEvent(const TPlatformEvent& e) {
    using Kind = TPlatformEvent::Kind;
    const bool pauses = hooks_.PauseWhenInactive && hooks_.PauseWhenInactive();
    switch (e.kind) {
        // The close box asks as the toolbar's "終了" does: a game is not
        // lost to a stray click.
        case Kind::Close:
        case Kind::QuitButton: AskQuit(); break;
        case Kind::ScreenButton: ToggleFullScreen(); break;
        case Kind::PresentNeeded: screen_.InvalidateAll(); break;
        case Kind::Activate:
            if (paused_) {
                loop_->Resume();
                paused_ = false;
            }
            input_.SetActive(true);
            timing_.LastTick = clock_.Now();
            break;
        case Kind::Deactivate:
            if (pauses) {
                loop_->Suspend();
                paused_ = true;
            }
            input_.SetActive(false);
            break;
        default: input_.Apply(e); break;
    }
}

void TFormView::Run() {
    window_.Show();
    loop_->SetEnabled(true);
    loop_->Start();
    TPlatformEvent e;
    while (!closeRequested_) {
        if (window_.WaitEvent(e, 50)) HandleEvent(e);
        loop_->RunPending();
    }
    loop_->Stop();
}

}  // namespace vesk
