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
        TakeSnapshotWhenTypingPauses();
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
        txtSource().SelLength(0);
        StartRealTimeRun();
    } else {
        worker_->Cancel();
        fill_->Abandon();
        lstResults().Clear();
        txtSource().SelLength(0);
        FrameW1().Caption(ResultsCaption);
    }
}

// The run's first step happens here, as in a run on this thread; the engine's part goes to the
// worker, and a listing still in progress waits for what the new run finds.
void FrmMain::StartRealTimeRun() {
    FrameW1().Caption(ResultsCaption);
    if (fill_->Active()) {
        fill_->Pause();
        listingSuperseded_ = true;
    }
    std::shared_ptr<const std::wstring> source = SourceSnapshot();
    std::wstring pattern = txtMatch().Text();
    if (source->empty() || pattern.empty()) {
        worker_->Cancel();
        fill_->Resume();
        return;
    }
    worker_->Start(std::move(pattern), std::move(source));
}

// Only the newest run's outcome comes here. A refused run leaves the last good run listed (one
// still being listed goes on).
void FrmMain::RealTimeRunFinished(MatchOutcome outcome) {
    if (!outcome) return fill_->Resume();
    ListMatches(std::move(*outcome), Pace::InSlices);
}

}  // namespace workbench
