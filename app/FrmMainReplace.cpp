// The replace row: shown while Check1 is ticked; its button (or Return in its box) rewrites the
// whole source text after the user confirms.
#include "app/FrmMain.h"

#include "app/Texts.h"
#include "controls/foundation/ComCtlsBase.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Intrinsics.h"

#include <new>
#include <string>

namespace workbench {

void FrmMain::Check1_Click() {
    bool on = Check1().Value() == 1;
    txtReplace().Visible(on);
    Command3().Visible(on);
    Line2().Visible(on);
}

void FrmMain::Command3_Click() {
    EndRunInFlight();
    // The question comes first, even when there is nothing to replace.
    if (foundation::ShowMessageBox(ReplaceQuestion, MB_YESNO | MB_ICONQUESTION, ReplaceTitle) == IDNO) return;
    std::wstring source = txtSource().Text();
    if (source.empty()) return;
    std::wstring pattern = txtMatch().Text();
    if (pattern.empty()) return;
    try {
        ConfigureRegExp(pattern);
        // The note reports the replacements really made. The result list may be older than the
        // pattern (edited since the last run, real-time off), so its entry count could be wrong.
        long replaced = objRegExp->Execute(source).Count();
        txtSource().Text(objRegExp->Replace(source, txtReplace().Text()));
        std::wstring done = ReplaceDoneHead + std::to_wstring(replaced) + ReplaceDoneTail;
        foundation::ShowMessageBox(done, MB_OK | MB_ICONINFORMATION, ReplaceTitle);
        RunMatch();
    } catch (const base::Error&) {
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace workbench
