// A form's stored design data: the text a form is built from, parsed into one property bag per
// control, nested for containers, with the menu tree.
//
// The text (UTF-8, one statement per line, indentation free):
//
//   Begin Form FrmMain
//      Caption         =   "Talmo 正则表达式匹配工具"
//      ClientWidth     =   16875
//      BackColor       =   &H80000005&
//      BeginProperty Font
//         Name            =   "微软雅黑"
//         Size            =   9
//         Charset         =   134
//         Weight          =   400
//      EndProperty
//      Begin FrameW FrameW3                ' kind, then name; a container holds Begin blocks
//         Caption         =   "参考和帮助"
//         Begin Label Label1
//            Index           =   2           ' a control array member
//         End
//      End
//      Begin Menu mnuPopup
//         Visible         =   False
//         Begin Menu mnuItem
//            Index           =   0
//            Caption         =   "中文字符"
//            Tag             =   "[\u4e00-\u9fa5]"
//         End
//      End
//   End
//
// Values: "text" (doubled quotes inside; stored as UTF-16LE Bytes, "" as Empty), True/False,
// integers (Long), numbers with a point or exponent (Double), &Hhex or &Hhex& (Long),
// Bytes(hex digits), and BeginProperty Font ... EndProperty (a FontDesc). A ' starts a comment
// outside quotes. Name, Index and the kind are taken out of the bag into the node itself.
#pragma once

#include "host/PropertyBag.h"

#include <string>
#include <vector>

namespace host {

struct ControlDesign {
    std::wstring kind;   // "TextBoxW", "CommandButton", "Menu", ...
    std::wstring name;
    int index = -1;      // position in a control array, -1 when not a member of one
    PropertyBag properties;
    std::vector<ControlDesign> children;  // contained controls, or submenu items

    // "Label1(2)" for array members, else the name.
    std::wstring DisplayName() const;
};

struct FormDesign {
    std::wstring kind = L"Form";
    std::wstring name;
    PropertyBag properties;
    std::vector<ControlDesign> controls;  // in stored order; menus among them (kind "Menu")
};

// Parses design text; a malformed text raises 380 "Invalid property value" with the line number
// appended to the description ("... (line 12)").
FormDesign ParseDesign(std::wstring_view text);
FormDesign ParseDesignUtf8(std::string_view utf8);

// Writes design text that ParseDesign reads back to an equal FormDesign.
std::wstring WriteDesign(const FormDesign& form);

// Loads a text resource of type RT_RCDATA from the module (UTF-8) and parses it; 
// raises 380 when the resource is missing.
FormDesign LoadDesignResource(HINSTANCE module, const wchar_t* resourceName);

}  // namespace host
