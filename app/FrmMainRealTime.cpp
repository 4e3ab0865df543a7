// Real-time mode: the switch's layout, and a run on every change of the pattern. Those runs find
// their matches on the worker's thread and list them in slices, so the pattern box takes the
// next key at once; a newer key stops the run it supersedes, and what that run found never
// reaches the list or the caption.
#include "app/FrmMain.h"

#include "app/Texts.h"
#include "controls/frame/FrameW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Intrinsics.h"

namespace workbench {

// Real-time mode needs no button: the pattern box takes its place up to the button's right edge.
void FrmMain::Check2_Click() {
    if (Check2().Value() == 1) {
        CopySourceWhenTypingPauses();
        Command4().Visible(false);
        txtMatch().Width(Command4().Left() + Command4().Width() - txtMatch().Left());
    } else {
        Command4().Visible(true);
        txtMatch().Width(PatternBoxWidth);
    }
    Line1().X2(txtMatch().Left() + txtMatch().Width());
}

void FrmMain::txtMatch_Change() {
    if (Check2().Value() != 1 || !worker_) return;
    if (!txtMatch().Text().empty()) {
        // (in a long text even a selection that stays empty costs the edit window a while)
        if (txtSource().SelLength() != 0) txtSource().SelLength(0);
        StartRealTimeRun();
    } else {
        EndRealTimeRuns();
        fill_->Drop();
        txtSource().SelLength(0);
        FrameW1().Caption(ResultsCaption);
    }
}

namespace {

// Whether the engine takes the pattern, with the settings of every run. Compiling a typed pattern
// takes microseconds, so this is known before any run starts.
bool PatternAccepted(const std::wstring& pattern) {
    rx::RegExp probe;
    probe.IgnoreCase(false);
    probe.Multiline(true);
    probe.Pattern(pattern);
    try {
        probe.Compiled();
        return true;
    } catch (const base::Error&) {
        return false;
    }
}

}  // namespace

// The run's first step happens here, as in a run on this thread; the engine's part goes to the
// worker. A rejected pattern ends there: it supersedes nothing, so a run still in flight goes on
// and is listed, as it would have been before this key.
void FrmMain::StartRealTimeRun() {
    FrameW1().Caption(ResultsCaption);
    if (fill_->Active()) listingSuperseded_ = true;
    if (sourceCopy_->BoxEmpty()) {
        EndRealTimeRuns();
        return fill_->Restore();
    }
    std::wstring pattern = txtMatch().Text();
    if (!PatternAccepted(pattern)) return;
    unlisted_.push_back(std::move(pattern));
    RunNewestPattern();
    // the list is emptied while the worker runs, not before it starts
    fill_->Hold();
}

// The newest pattern goes to the worker with the source copy, once the copy is complete; until
// then no older run may finish in its place.
void FrmMain::RunNewestPattern() {
    if (unlisted_.empty()) return;
    waitingForSource_ = !sourceCopy_->Current();
    if (!waitingForSource_) return worker_->Start(unlisted_.back(), sourceCopy_->Current());
    worker_->Cancel();
    sourceCopy_->Start();
}

void FrmMain::SourceCopied() {
    if (waitingForSource_) RunNewestPattern();
}

// Only the outcome of the pattern last handed to the worker comes here. When it fails (the step
// budget, memory), the list shows what the patterns typed before it find, as it would had every
// run been done at once: the newest of them whose run a later key stopped is run again.
void FrmMain::RealTimeRunFinished(MatchOutcome outcome) {
    if (unlisted_.empty()) return;
    if (outcome) {
        const bool superseded = unlisted_.back() != txtMatch().Text();
        unlisted_.clear();
        return ListMatches(std::move(*outcome), Pace::InSlices, superseded);
    }
    unlisted_.pop_back();
    if (unlisted_.empty()) return fill_->Restore();
    RunNewestPattern();
}

void FrmMain::EndRealTimeRuns() {
    worker_->Cancel();
    unlisted_.clear();
    waitingForSource_ = false;
}

}  // namespace workbench
