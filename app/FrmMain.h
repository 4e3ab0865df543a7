// FrmMain: the workbench window. Built from the FRMMAIN design resource (FrmMain.frm); this
// class holds the form's state and one handler per event.
//
//   FrmMain.cpp         form events, wiring of the handlers, keyboard of the three text boxes
//   FrmMainMatch.cpp    match run, selection step, real-time switch and pattern change
//   FrmMainReplace.cpp  replace row and confirm-and-replace
//   FrmMainHelp.cpp     preset menu, reference panel, profile labels
#pragma once

#include "host/Form.h"
#include "regexp/RegExp.h"

#include <memory>
#include <optional>
#include <string>

namespace controls {
class TextBoxW;
class ListBoxW;
class FrameW;
}  // namespace controls

namespace host {
class CheckBox;
class CommandButton;
class Line;
}  // namespace host

namespace workbench {

class FrmMain : public host::Form {
public:
    FrmMain();
    ~FrmMain() override;

    // The match run (also what Return in the pattern box and a click on Command4 do).
    void RunMatch();

protected:
    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    // --- wiring (FrmMain.cpp)
    void ConnectHandlers();
    void PlaceUnderline(const wchar_t* line, const wchar_t* box);

    // --- keyboard (FrmMain.cpp)
    void txtMatch_KeyDown(int& keyCode, int shift);
    void txtSource_KeyDown(int& keyCode, int shift);
    void txtReplace_KeyDown(int& keyCode, int shift);

    // --- match (FrmMainMatch.cpp)
    void Command4_Click();
    void lstResults_Click();
    void Check2_Click();
    void txtMatch_Change();
    void SelectCurrentMatch();
    void ListMatches(const rx::MatchCollection& matches);

    // --- replace (FrmMainReplace.cpp)
    void Check1_Click();
    void Command3_Click();
    void ConfigureRegExp(const std::wstring& pattern);

    // --- helps (FrmMainHelp.cpp)
    void Command1_MouseDown(int button, int shift, float x, float y);
    void mnu匹配选项_Click(int index);
    void Command2_Click();
    void Label1_Click(int index);
    void FillReferenceList();
    double NarrowWidth() const;
    double WideWidth() const;

    // --- the controls, by their names in the design data
    controls::TextBoxW& txtMatch() const;
    controls::TextBoxW& txtSource() const;
    controls::TextBoxW& txtReplace() const;
    controls::ListBoxW& lstResults() const;
    controls::ListBoxW& ListBoxW1() const;
    controls::FrameW& FrameW1() const;
    host::CheckBox& Check1() const;
    host::CheckBox& Check2() const;
    host::CommandButton& Command1() const;
    host::CommandButton& Command2() const;
    host::CommandButton& Command3() const;
    host::CommandButton& Command4() const;
    host::Line& Line1() const;
    host::Line& Line2() const;

    // --- form state: the one engine, the last successful run's matches, the selected match
    std::unique_ptr<rx::RegExp> objRegExp;
    std::optional<rx::MatchCollection> objMatches;
    std::optional<rx::Match> objMatch;

    double designClientWidth_ = 0;  // twips: the client area with the whole reference panel
};

}  // namespace workbench
