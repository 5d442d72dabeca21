#pragma once

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "components/objects/vmotion.h"
#include "components/registry/fenkcollection.h"
#include "components/registry/history_feed.h"
#include "components/registry/input_state.h"
#include "components/registry/readlist.h"
#include "components/registry/timerlist.h"
#include "components/registry/vbase.h"
#include "gfx/dibx.h"
#include "gfx/rect.h"

namespace vesk {

class TCustomWipe;
class TVeskCustomImage;
class TWipeMaskSource;

// The version number the state streams are written with (the save format's).
inline constexpr int kStateVersion = 138;

// The largest game screen a project or a saved game may ask for, per side:
// damaged data must not make the player allocate without bound.
inline constexpr int kMaxScreenSide = 16384;

// The registry: owns every component and the two screen bases, names them,
// keeps the event queue, the pending-destruction list and the focused
// control, and writes and reads the component part of a saved game.
class TVeskBaseList {
public:
    TVeskBaseList();
    ~TVeskBaseList();
    TVeskBaseList(const TVeskBaseList&) = delete;
    TVeskBaseList& operator=(const TVeskBaseList&) = delete;

    // Takes ownership of a new object: gives it an id and, when it wants
    // one, the automatic name "objectN" (smallest unused N), then lists it.
    // A control without a parent is placed on the active base.
    TVeskObject& Adopt(std::unique_ptr<TVeskObject> obj);
    // Creates an empty object of that kind (low 7 bits of the byte) and
    // adopts it; nullptr for LT_NONE, LT_AUDIO, LT_MAP and kinds above
    // LT_CABINET.
    TVeskObject* CreateKind(std::uint8_t kind);

    // Destroys at once: a control's subtree first, then the object; its
    // waiting events, focus and pending mark go with it. Bases are not
    // destroyed this way.
    void Destroy(TVeskObject& obj);
    void MarkForDestruction(TVeskObject& obj);
    bool IsPendingDestruction(const TVeskObject& obj) const;
    // End of the update pass: destroys every object still marked.
    void DestroyPending();
    // Destroys every component, empties the queue and the pending list and
    // makes two fresh bases; the size and the active index are kept.
    void Reset();

    int Count() const { return static_cast<int>(items_.size()); }
    TVeskObject& Item(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    TVeskObject* FindById(TObjectId id) const;

    TVeskBase& Base(int number) const { return *bases_.at(number & 1); }
    int ActiveIndex() const { return active_; }
    // Switches the active base without a transition: both bases are
    // redrawn entirely; a focus that is not on the new active base is
    // dropped and recomputed at the next input pass. A running transition
    // keeps running.
    void SetActiveIndex(int index);
    TVeskBase& ActiveBase() const { return Base(active_); }
    TVeskBase& InactiveBase() const { return Base(active_ ^ 1); }
    // "" and base 0's name: the active base; "\x01" and base 1's name: the
    // inactive one; otherwise the first component of that name.
    TVeskObject* FindComponent(const std::string& name) const;
    // "" the active base, "\x01" the inactive one, the base names the bases
    // by number, otherwise the first control of that name.
    TVeskControl* FindControl(const std::string& name) const;
    // The first listed object of that name (bases excluded), or nullptr.
    TVeskObject* FindByName(const std::string& name) const;

    TTimerList& EventQueue() { return queue_; }
    // Whether an entry of that code raised by obj is still waiting.
    bool IsWaiting(const TVeskObject& obj, int code) const;

    // ---- Keyboard focus. ----
    TVeskControl* Focused() const { return focused_; }
    // Sets the focus without events (loading a saved game).
    void SetFocused(TVeskControl* control) { focused_ = control; }
    // Moves the focus: PR_ONFOCUSOUT of the old control, PR_ONFOCUSIN of
    // the new one; clears the recomputation request.
    void SetFocus(TVeskControl* control);
    // The next input pass gives the focus to the active base's deepest
    // focusable control.
    void RequestFocus() { focusRequested_ = true; }
    void DropFocus();

    // ---- Right-click list: kinds that close on a right click. ----
    void AddRClick(TVeskControl* control);
    void RemoveRClick(TVeskControl* control);

    // The decoded pictures every image kind of this registry draws from.
    TFenkCollection& Images() { return *images_; }
    // The read marks of the whole run; Reset leaves them alone.
    TVeskReadList& ReadMarks() { return readMarks_; }
    // The message history the message boxes record their pages in (not
    // owned); without one, pages are not recorded.
    void SetHistoryFeed(TMesHistoryFeed* feed) { historyFeed_ = feed; }
    TMesHistoryFeed* HistoryFeed() const { return historyFeed_; }
    // Motion files are played by what this factory makes; none by default.
    void SetMotionFactory(TMotionFactory factory) { motionFactory_ = std::move(factory); }
    const TMotionFactory& MotionFactory() const { return motionFactory_; }

    // The selection string and index of selection images go to the
    // variable table's @SelStr / @SelIndex when there is one; the last
    // values set are kept here as well.
    void SetSelection(const std::string& name, std::int32_t index);
    const std::string& SelStr() const { return selStr_; }
    std::int32_t SelIndex() const { return selIndex_; }

    // The registry's sound-on flag, on at creation.
    bool SoundOn() const { return soundOn_; }
    void SetSoundOn(bool on) { soundOn_ = on; }

    // Bit count of the bases' and images' surfaces (the screen manager's; 32
    // without one). Changing it re-creates the surfaces.
    int BitCount() const { return bitCount_; }
    void SetBitCount(int bitCount);
    // Display-mode changes: every surface goes before the switch and comes
    // back after it, with both bases entirely dirty. A running transition
    // ends with the surfaces it draws from.
    void ReleaseSurfaces();
    void ReloadSurfaces();

    // The system name of the snapshot.
    static inline const std::string kSnapshotName{"\x01\x01", 2};
    // A picture of the active base as drawn now (every control drawn into
    // it first): a visible image named 0x01 0x01 on the active base, of the
    // base's size, holding a copy of its surface. Each call replaces the
    // previous snapshot. Flip shows it over the scene while it switches.
    TVeskCustomImage& MakeSnapshot();

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A running transition ends: its pictures are resized under it.
    void SetSize(int width, int height);

    // ---- Screen transitions: at most one runs. ----
    // Switches the active base to index as SetActiveIndex does. When a
    // transition kind is given (WP_NONE is none) and none runs, or when
    // force is set, the running transition ends first and, for a kind, a
    // new one is made into the screen surface, from base index's picture
    // (the one being left: Flip and films keep it active while the
    // transition runs) to the other base's (the one being shown), with the
    // duration, the flag and position 0. Answers the new transition, for
    // the caller to give it its parameters and mask name and then start it;
    // nullptr when none was made.
    TCustomWipe* SwitchActive(int index, int kind, bool flag, std::int32_t duration, bool force);
    // Prepares the new transition (Prepare). A mask picture that cannot be
    // read leaves it running as without a picture; any other failure ends it.
    void StartTransition();
    // The running transition; its caller sets its Position each frame.
    TCustomWipe* Transition() const { return wipe_.get(); }
    // Destroys the running transition; both bases are redrawn whole.
    void EndTransition();
    // Where the transition draws: a surface of the bases' size and depth,
    // made with the transition.
    TCustomDIBX* ScreenSurface() const { return screen_.get(); }
    // The area the transition's step changed in the last draw pass; empty
    // when no transition ran in it.
    const TRect& TransitionRect() const { return wipeRect_; }

    // ---- The frame, as the main window drives it. ----
    // The input the bases and the keyboard state read (not owned; the
    // window's handlers feed it and latch it at the start of each frame).
    void AttachInput(TInputState* input) { input_ = input; }
    TInputState* Input() const { return input_; }
    // The window that shows the cursor chosen for the control under the
    // mouse (not owned); without one the choice is only recorded.
    void AttachCursorWindow(platform::TPlatformWindow* window) { cursorWindow_ = window; }
    // After the input is latched: focus, the mouse pass of the active base,
    // the focused control's key handlers.
    void InputPass(std::int32_t elapsedMs);
    // After the interpreter's step: the bases' and components' updates,
    // idle events, destruction of what asked for it.
    void UpdatePass(std::int32_t elapsedMs);
    // Draws both bases into their surfaces within their dirty rectangles,
    // then lets the running transition draw its step into the screen
    // surface.
    void DrawPass();
    // A base's surface, of the registry's size; nullptr before the first
    // draw pass (and between ReleaseSurfaces and ReloadSurfaces).
    TCustomDIBX* BaseSurface(int number) const;
    // A base's dirty rectangles since the last ClearDirty.
    const std::vector<TRect>& DirtyRects(int number) const;
    // After the display flip: both bases' dirty lists are emptied.
    void ClearDirty();

    // The component part of a saved game, always in the newest layout.
    void SaveToStream(TStream& s) const;
    // Reads a stream of the given version after emptying the registry.
    void LoadFromStream(TStream& s, int version);

private:
    friend class TVeskObject;
    friend class TVeskControl;
    // Collision rules of renaming obj to name.
    void ResolveNameClash(TVeskObject& obj, const std::string& name);
    bool NameUsed(const std::string& name) const;
    std::string UnusedName(const std::string& stem, int first) const;
    void DestroyTree(TVeskObject& obj);
    // Every component and the links between them go; the bases stay.
    void Clear();
    std::unique_ptr<TVeskBase> MakeBase(int number);
    TCustomWipe* MakeTransition(int from, int kind, bool flag, std::int32_t duration);
    void StepTransition();
    void MousePass(TVeskBase& base);
    // obj when it is still registered, else nullptr.
    TVeskControl* Registered(TObjectId id) const;
    // The control under the mouse takes the cursor it asks for.
    void ChooseCursor(TVeskBase& base, const TVeskControl& target);
    // The window shows the cursor file (through the file manager), or its
    // default arrow for "" and for a file that cannot be loaded.
    void ShowCursorFile(const std::string& file);

    int width_ = 640, height_ = 480;
    int bitCount_ = 32;
    // Before the components: images hold references into it.
    std::unique_ptr<TFenkCollection> images_;
    TVeskReadList readMarks_;
    TMesHistoryFeed* historyFeed_ = nullptr;
    std::array<std::unique_ptr<TVeskBase>, 2> bases_;
    int active_ = 0;
    std::vector<std::unique_ptr<TVeskObject>> items_;  // creation order
    std::unordered_map<TObjectId, TVeskObject*> byId_;
    std::vector<TVeskObject*> pending_;
    TTimerList queue_;
    TVeskControl* focused_ = nullptr;
    bool focusRequested_ = false;
    std::vector<TVeskControl*> rclick_;  // not owned
    TMotionFactory motionFactory_;
    std::string selStr_;
    std::int32_t selIndex_ = 0;
    bool soundOn_ = true;
    TInputState* input_ = nullptr;  // not owned
    platform::TPlatformWindow* cursorWindow_ = nullptr;  // not owned
    // What the window shows: the bases choose in turn, the window has one.
    std::string windowCursor_;
    // Where transitions find their mask pictures: the virtual file manager.
    std::unique_ptr<TWipeMaskSource> maskSource_;
    std::unique_ptr<TDIBX> screen_;
    // After the screen surface and the bases, whose surfaces it draws from.
    std::unique_ptr<TCustomWipe> wipe_;
    TRect wipeRect_{};
    TObjectId nextId_ = 1;
};

}  // namespace vesk
