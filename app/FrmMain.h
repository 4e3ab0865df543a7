// FrmMain: the workbench window. Built from the FRMMAIN design resource (FrmMain.frm); this
// class holds the form's state and one handler per event.
//
//   FrmMain.cpp         form events, wiring of the handlers, keyboard of the three text boxes
//   FrmMainMatch.cpp    match run, listing of its matches, selection step
//   FrmMainRealTime.cpp real-time switch, pattern change and the runs it starts off this thread
//   FrmMainReplace.cpp  replace row and confirm-and-replace
//   FrmMainHelp.cpp     preset menu, reference panel, profile labels
#pragma once

#include "app/MatchWorker.h"
#include "app/ResultList.h"
#include "app/SourceCopy.h"
#include "host/Form.h"
#include "host/Timer.h"
#include "regexp/RegExp.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

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

    // The match run (also what Return in the pattern box and a click on Command4 do). It ends
    // any real-time run first and lists its matches before it returns.
    void RunMatch();
    // Whether a real-time run has still to show its outcome (its matches being found or listed).
    bool RealTimeRunPending() const;

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
    enum class Pace { AtOnce, InSlices };
    void Command4_Click();
    void lstResults_Click();
    void SelectCurrentMatch();
    void ListMatches(rx::MatchCollection matches, Pace pace, bool superseded = false);
    void MatchesListed(bool again);
    void EndRunInFlight();
    void txtSource_Change();
    void CopySourceWhenTypingPauses();

    // --- real time (FrmMainRealTime.cpp)
    void Check2_Click();
    void txtMatch_Change();
    void StartRealTimeRun();
    void RunNewestPattern();
    void SourceCopied();
    void RealTimeRunFinished(MatchOutcome outcome);
    void EndRealTimeRuns();

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

    // --- the real-time runs: their thread, the listing in slices, and what they share
    std::unique_ptr<MatchWorker> worker_;
    std::unique_ptr<ResultFill> fill_;
    // The listing in progress belongs to a run that a newer one has begun to replace: if it is
    // completed after all (the newer run failed), the caption and the source selection stay as
    // the newer run's start left them.
    bool listingSuperseded_ = false;
    // The patterns handed to the worker since the last listing began, oldest first; the last is
    // the run in flight.
    std::vector<std::wstring> unlisted_;
    // The newest of unlisted_ waits for the source copy before it goes to the worker.
    bool waitingForSource_ = false;
    // The source text as the runs see it: copied in slices after each change of the source box
    // and shared, never changed, by every run until the next change. In real-time mode the copy
    // starts once the source box has been left alone a moment, or at the next pattern key.
    std::unique_ptr<SourceCopy> sourceCopy_;
    host::Timer copyPause_;
    static constexpr unsigned CopyPauseMs = 300;
    // The source box's buffers, freed once its windows have gone (after Unload).
    EditBuffers editBuffers_;
};

}  // namespace workbench
