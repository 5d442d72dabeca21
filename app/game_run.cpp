#include "app/game_run.h"

#include "app/registry_frame.h"
#include "common/cp932.h"
#include "common/error.h"
#include "common/quit.h"
#include "media/veskdll.h"
#include "platform/msgbox.h"

namespace vesk {

TGameRun::TGameRun(TVrFileManager& files, TProject::Options options, platform::TPlatformWindow* window,
                   std::FILE* trace, TVeskLog* log)
    : trace_(trace), log_(log) {
    TScriptHost& host = *this;
    session_ = std::make_unique<TGameSession>(host, port_, files, std::move(options));
    if (!session_->Loaded() || QuitRequested()) return;

    const TProjectSettings& settings = session_->Project()->Settings();
    const int w = settings.ScreenWidth, h = settings.ScreenHeight;
    if (w <= 0 || h <= 0 || w > kMaxScreenSide || h > kMaxScreenSide)
        throw EVeskError(Sj("画面サイズが不正です") + " (" + std::to_string(w) + "x" + std::to_string(h) + ")");
    // Media start-up's part: the screen manager for the project's screen;
    // then the registry takes the screen's size.
    screen_ = std::make_unique<TScreenManager>(window, w, h, settings.FullWidth, settings.FullHeight);
    registry_.SetSize(w, h);
    // The component surfaces take the screen's bit count, now and after
    // every display switch.
    registry_.SetBitCount(screen_->SurfaceBitCount());
    screen_->SurfacesRecreated = [this](int bits) { registry_.SetBitCount(bits); };
    registry_.AttachInput(&input_);
    registry_.AttachCursorWindow(window ? window : &headlessWindow_);
    session_->Sources().SetInput(&input_);
    session_->Sources().SetDisplay(screen_.get());

    view_ = std::make_unique<TFormView>(window ? *window : headlessWindow_, *screen_, input_, timing_, Hooks(),
                                        clock_);
    view_->SkipSplash();
    if (closePosted_) view_->RequestClose();
}

TGameRun::~TGameRun() {
    Close();
    if (session_) {
        session_->Sources().SetInput(nullptr);
        session_->Sources().SetDisplay(nullptr);
    }
    registry_.AttachInput(nullptr);
    registry_.AttachCursorWindow(nullptr);
}

TFrameHooks TGameRun::Hooks() {
    TFrameHooks h = RegistryFrameHooks(registry_, timing_);
    h.HasProject = [this] { return session_->Loaded(); };
    h.Interpreter = [this] { session_->Step(); };
    h.StepDone = [this] {
        if (StepDone) StepDone();
    };
    h.PauseWhenInactive = [this] { return session_->Loaded() && session_->Project()->Settings().PauseWhenInactive; };
    h.Title = [this] { return session_->Loaded() ? session_->Project()->Settings().Title : std::string(); };
    return h;
}

void TGameRun::Close() {
    if (view_) view_->Loop().Stop();
    if (session_) session_->Close();
}

bool TGameRun::QuitRequested() const { return vesk::QuitRequested.load() != 0; }

void TGameRun::SetQuitRequested(bool flag) { vesk::QuitRequested = flag ? 1 : 0; }

void TGameRun::PostClose() {
    if (view_)
        view_->RequestClose();
    else
        closePosted_ = true;
}

void TGameRun::ShowWarning(const std::string& text) {
    platform::ShowMessageBox(text, Sj("警告"), platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

void TGameRun::Trace(const std::string& line) {
    if (trace_) {
        std::fwrite(line.data(), 1, line.size(), trace_);
        std::fputc('\n', trace_);
    }
    if (log_) log_->Write(line);
}

}  // namespace vesk
