// The match run and what follows from it: the result list, the count caption, the selection of
// a listed match in the source box, and the real-time switch.
#include "app/FrmMain.h"

#include "app/ResultList.h"
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
    FrameW1().Caption(ResultsCaption);
    std::wstring source = txtSource().Text();
    if (source.empty()) return;
    std::wstring pattern = txtMatch().Text();
    if (pattern.empty()) return;
    // A rejected pattern, or one that would run past the engine's step budget, ends the run
    // here: the caption says 结果 and the list keeps the last good run.
    try {
        ConfigureRegExp(pattern);
        objMatches = objRegExp->Execute(std::move(source));
        ListMatches(*objMatches);
    } catch (const base::Error&) {
    } catch (const std::bad_alloc&) {
    }
}

void FrmMain::ListMatches(const rx::MatchCollection& matches) {
    lstResults().Clear();
    FrameW1().Caption(CountCaptionHead + std::to_wstring(matches.Count()) + CountCaptionTail);
    if (matches.Count() == 0) return;
    AppendMatchValues(lstResults(), matches);
    objMatch = matches.Item(matches.Count() - 1);
    lstResults().ListIndex(0);
    SelectCurrentMatch();
}

void FrmMain::lstResults_Click() { SelectCurrentMatch(); }

// Entry i of the list is match i of the last successful run, so a stale list still selects
// the span that run found.
void FrmMain::SelectCurrentMatch() {
    if (lstResults().ListCount() == 0 || lstResults().ListIndex() == -1 || !objMatches) return;
    objMatch = objMatches->Item(lstResults().ListIndex());
    txtSource().SelStart(objMatch->FirstIndex());
    txtSource().SelLength(objMatch->Length());
}

// Real-time mode needs no button: the pattern box takes its place up to the button's right edge.
void FrmMain::Check2_Click() {
    if (Check2().Value() == 1) {
        Command4().Visible(false);
        txtMatch().Width(Command4().Left() + Command4().Width() - txtMatch().Left());
    } else {
        Command4().Visible(true);
        txtMatch().Width(PatternBoxWidth);
    }
    Line1().X2(txtMatch().Left() + txtMatch().Width());
}

void FrmMain::txtMatch_Change() {
    if (Check2().Value() != 1) return;
    if (!txtMatch().Text().empty()) {
        txtSource().SelLength(0);
        RunMatch();
    } else {
        lstResults().Clear();
        txtSource().SelLength(0);
        FrameW1().Caption(ResultsCaption);
    }
}

// The same settings for every run and every replace.
void FrmMain::ConfigureRegExp(const std::wstring& pattern) {
    objRegExp->IgnoreCase(false);
    objRegExp->Multiline(true);
    objRegExp->Global(true);
    objRegExp->Pattern(pattern);
}

}  // namespace workbench
