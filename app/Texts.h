// The workbench's own words: captions and messages the handlers set at run time, the preset
// and panel geometry they compare against, and the profile page the panel's labels open.
// Captions that never change at run time live in FrmMain.frm.
#pragma once

namespace workbench {

inline constexpr wchar_t MainCaption[] = L"Talmo 正则表达式匹配工具";

// Result frame: the plain caption, and the two halves around the match count. The character
// after 结果 is an ordinary space; the parentheses are full-width.
inline constexpr wchar_t ResultsCaption[] = L"结果";
inline constexpr wchar_t CountCaptionHead[] = L"结果 （共";
inline constexpr wchar_t CountCaptionTail[] = L"个匹配项）";

// Replace: the confirmation (Yes/No, question mark) and the completion note (OK, information).
inline constexpr wchar_t ReplaceTitle[] = L"替换";
inline constexpr wchar_t ReplaceQuestion[] =
    L"即将进行替换操作，此操作不能撤销。\r\n"
    L"替换的结果将覆盖“源文本”的内容。\r\n"
    L"\r\n"
    L"是否执行替换？";
inline constexpr wchar_t ReplaceDoneHead[] = L"已完成";
inline constexpr wchar_t ReplaceDoneTail[] = L"处替换。";

// Reference panel toggle.
inline constexpr wchar_t PanelClosedCaption[] = L"参考和帮助 >";
inline constexpr wchar_t PanelOpenCaption[] = L"参考和帮助 <";

// The project's own page; every label of the reference panel opens it.
inline constexpr wchar_t ProfileAddress[] = L"https://example.org/regex-workbench/";

// Geometry in twips.
inline constexpr double PatternBoxWidth = 6315; // real-time off: room for the match button

}  // namespace workbench
