// The match run and what follows from it: the result list, the count caption and the selection
// of a listed match in the source box.
#include "app/FrmMain.h"

#include "app/Texts.h"
#include "controls/frame/FrameW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Intrinsics.h"

#include <new>
#include <string>

namespace workbench {

void FrmMain::Command4_Click() { RunMatch(); }

void FrmMain::RunMatch() {
    if (!worker_) return;  // unloaded
    // nothing of a real-time run still on its way shows after this one
    EndRealTimeRuns();
    FrameW1().Caption(ResultsCaption);
    if (fill_->Active()) listingSuperseded_ = true;
    sourceCopy_->Invalidate();  // read afresh: this run must see the box as it is now
    std::shared_ptr<const std::wstring> source = sourceCopy_->Now();
    std::wstring pattern = txtMatch().Text();
    if (!source->empty() && !pattern.empty()) {
        // A rejected pattern, or one that would run past the engine's step budget, ends the run
        // here: the caption says 结果 and the list keeps the last good run.
        try {
            ConfigureRegExp(pattern);
            return ListMatches(objRegExp->Execute(source), Pace::AtOnce);
        } catch (const base::Error&) {
        } catch (const std::bad_alloc&) {
        }
    }
    // the list keeps the last good run: one still being listed is completed
    fill_->Finish();
}

// A run that found its matches: they replace the list, and the caption and the selection follow
// once the last entry is in (for a run that a later key superseded, only the selection; for a
// listing put back after a newer run failed, nothing: it is as it was).
void FrmMain::ListMatches(rx::MatchCollection matches, Pace pace, bool superseded) {
    objMatches = matches;
    listingSuperseded_ = superseded;
    fill_->Begin(std::move(matches));
    if (pace == Pace::AtOnce) fill_->Finish();
}

void FrmMain::MatchesListed(bool again) {
    if (!objMatches || again) return;
    const long count = objMatches->Count();
    if (!listingSuperseded_) FrameW1().Caption(CountCaptionHead + std::to_wstring(count) + CountCaptionTail);
    if (count == 0) return;
    objMatch = objMatches->Item(count - 1);
    // choosing the first entry selects its match through the list's Click; an entry that is
    // already chosen raises none (selecting twice costs a long source box twice)
    if (lstResults().ListIndex() != 0) lstResults().ListIndex(0);
    else SelectCurrentMatch();
    // a newer run's start dropped the highlight after this run had set it
    if (listingSuperseded_) txtSource().SelLength(0);
}

// Replace and close must not find a run half done: the real-time run in flight is dropped, and
// a listing in progress (its run did succeed) is completed.
void FrmMain::EndRunInFlight() {
    if (!worker_) return;
    EndRealTimeRuns();
    fill_->Finish();
}

bool FrmMain::RealTimeRunPending() const {
    return worker_ && (worker_->Awaiting() || waitingForSource_ || fill_->Active());
}

void FrmMain::lstResults_Click() { SelectCurrentMatch(); }

// Entry i of the list is match i of the last successful run, so a stale list still selects
// the span that run found.
void FrmMain::SelectCurrentMatch() {
    if (lstResults().ListCount() == 0 || lstResults().ListIndex() == -1 || !objMatches) return;
    const long index = lstResults().ListIndex();
    if (index >= objMatches->Count()) return;
    objMatch = objMatches->Item(index);
    txtSource().SelStart(objMatch->FirstIndex());
    txtSource().SelLength(objMatch->Length());
}

// A run waiting for the copy waits for the copy of the new text.
void FrmMain::txtSource_Change() {
    if (!sourceCopy_) return;  // unloaded
    sourceCopy_->Invalidate();
    if (waitingForSource_) sourceCopy_->Start();
    CopySourceWhenTypingPauses();
}

void FrmMain::CopySourceWhenTypingPauses() {
    if (Check2().Value() != 1) return;
    copyPause_.Enabled(false);  // restarts the wait
    copyPause_.Enabled(true);
}

// The same settings for every run and every replace.
void FrmMain::ConfigureRegExp(const std::wstring& pattern) {
    objRegExp->IgnoreCase(false);
    objRegExp->Multiline(true);
    objRegExp->Global(true);
    objRegExp->Pattern(pattern);
}

}  // namespace workbench
