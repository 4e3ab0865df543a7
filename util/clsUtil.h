// clsUtil: a stateless bundle of file, folder, INI, shell, regular-expression, random and
// angle helpers. Instances hold nothing and are interchangeable; every operation may be called
// on a temporary (clsUtil().NavigateWebpage(url)).
//
// Failures are raised as base::Error. Errors of what an operation calls (a missing file, a
// denied access, a rejected pattern) reach the caller; the two save operations are the
// exception and never report anything.
//
// Operations, in interface order:
//    1 Wait                      (Wait.cpp)
//    2 OpenFile                  (ShellOpen.cpp)
//    3 NavigateWebpage           (ShellOpen.cpp)
//    4 GetInnerStringFromCLSID   (ShellFolders.cpp)
//    5 SelectFolder              (ShellFolders.cpp)
//    6 EnumFilesInFolder         (FolderEnum.cpp)
//    7 EnumSubFoldersInFolder    (FolderEnum.cpp)
//    8 ReadUTF8File              (TextFiles.cpp)
//    9 SaveUTF8File              (TextFiles.cpp)
//   10 ReadANSIFile              (TextFiles.cpp)
//   11 SaveANSIFile              (TextFiles.cpp)
//   12 RandomInt                 (Random.cpp)
//   13 RandomSingle              (Random.cpp)
//   14 StringReplaceByRegExp     (RegExpHelpers.cpp)
//   15 StringSearchByRegExp      (RegExpHelpers.cpp)
//   16 ReadIniKeyValue           (IniFile.cpp)
//   17 WriteIniKeyValue          (IniFile.cpp)
//   18 PI, 19 ENB, 20 SineDeg, 21 CosineDeg, 22 TangentDeg   (Angles.cpp)
#pragma once

#include <windows.h>

#include <string>

#include "base/Error.h"

class clsUtil {
public:
    // Busy-waits WaitTime milliseconds, running the host's message pump on every pass (at least
    // once, even for 0 or a negative time), so the window stays responsive.
    void Wait(long WaitTime) const;

    // Hands FileName (a file or a folder) to the Windows Explorer program. Nothing is reported.
    void OpenFile(const std::wstring& FileName, long ShowWindowMode, HWND hWndOwner) const;
    // Opens URL with the system's default handler. Nothing is reported.
    void NavigateWebpage(const std::wstring& URL) const;

    // "::{CLSID}" of My Computer (0), Recycle Bin (1), Control Panel (2), Printers (3),
    // My Documents (4); "" for any other code.
    std::wstring GetInnerStringFromCLSID(long InnerClsID) const;
    // The folder browser, owned by ObjForm: the chosen folder ending in "\", or "" on cancel.
    std::wstring SelectFolder(HWND ObjForm, const std::wstring& Prompt) const;

    // Names (no paths) of the folder's files / subfolders joined with "|"; "" for an empty or
    // missing folder.
    std::wstring EnumFilesInFolder(const std::wstring& FolderPath) const;
    std::wstring EnumSubFoldersInFolder(const std::wstring& FolderPath) const;

    // UTF-8 text files: read drops a leading byte-order mark, save writes none. The ANSI pair
    // uses code page 936 (GB2312). A missing file reads as ""; saves replace an existing file
    // whole or leave it untouched, and never report a failure.
    std::wstring ReadUTF8File(const std::wstring& FileName) const;
    void SaveUTF8File(const std::wstring& Text, const std::wstring& FileName) const;
    std::wstring ReadANSIFile(const std::wstring& FileName) const;
    void SaveANSIFile(const std::wstring& Text, const std::wstring& FileName) const;

    // An integer in [Min, Max] from RandomSingle; 6 "Overflow" when Max - Min + 1 does not fit
    // in 16 bits.
    short RandomInt(short Min, short Max) const;
    // A value in [0, 1), rounded to nine decimals, a function of the millisecond counter only.
    float RandomSingle() const;

    // Every match of MatchPattern (case-sensitive, global, multiline) replaced by ReplaceText.
    std::wstring StringReplaceByRegExp(const std::wstring& SourceText, const std::wstring& MatchPattern,
                                       const std::wstring& ReplaceText) const;
    // 1-based position of the leftmost match; -1 when nothing matches; 0 when an input is empty.
    long StringSearchByRegExp(const std::wstring& SourceText, const std::wstring& MatchPattern) const;

    // INI keys through the ANSI profile functions: reads return at most 254 bytes, writes
    // store at most 256 characters.
    std::wstring ReadIniKeyValue(const std::wstring& FileName, const std::wstring& Section,
                                 const std::wstring& Key, const std::wstring& DefaultValue) const;
    void WriteIniKeyValue(const std::wstring& FileName, const std::wstring& Section,
                          const std::wstring& Key, const std::wstring& Value) const;

    double PI() const;
    double ENB() const;
    // Trigonometry in degrees. The cosine is rounded to 15 decimals so that it is exactly 0 at
    // 90 and 270; the tangent divides the unrounded sine by that cosine and raises 6
    // "Overflow" where the cosine is 0.
    double SineDeg(double Degree) const;
    double CosineDeg(double Degree) const;
    double TangentDeg(double Degree) const;
};
