#include "host/DesignData.h"
#include "host/Error.h"

#include <gtest/gtest.h>

using namespace host;

namespace {

const wchar_t* kDesign = LR"(Begin Form FrmMain
   Caption         =   "Talmo 正则表达式匹配工具"
   ClientWidth     =   16875
   ClientHeight    =   9540
   BackColor       =   &H80000005&
   StartUpPosition =   2          ' centre of the screen
   BeginProperty Font
      Name            =   "微软雅黑"
      Size            =   9
      Charset         =   134
      Weight          =   400
   EndProperty
   Begin CheckBox Check2
      Caption         =   "实时"
      Left            =   180
      Top             =   4440
      TabIndex        =   10
   End
   Begin FrameW FrameW3
      Caption         =   "参考和帮助"
      Appearance      =   0
      Begin Label Label1
         Index           =   2
         Caption         =   "版本：1.0"
      End
      Begin Label Label1
         Index           =   1
         Caption         =   "say ""hi"" 'not a comment'"
      End
   End
   Begin Menu mnuPopup
      Caption         =   "mnuPopup"
      Visible         =   False
      Begin Menu mnuItem
         Index           =   0
         Caption         =   "中文字符"
         Tag             =   "[\u4e00-\u9fa5]"
      End
      Begin Menu mnuItem
         Index           =   1
         Caption         =   "-"
      End
   End
   Begin TextBoxW txtReplace
      Text            =   ""
      Ratio           =   1.5
      Raw             =   Bytes(41004200)
   End
End
)";

}  // namespace

TEST(DesignData, ParsesNestingArraysMenusAndTypedValues) {
    FormDesign f = ParseDesign(kDesign);
    EXPECT_EQ(f.name, L"FrmMain");
    EXPECT_EQ(f.properties.Read(L"Caption").AsString(), L"Talmo 正则表达式匹配工具");
    // Captions are kept the way the library persists text: UTF-16LE bytes.
    EXPECT_EQ(f.properties.Read(L"Caption").GetKind(), Value::Kind::Bytes);
    EXPECT_EQ(f.properties.Read(L"clientwidth").AsLong(), 16875);
    EXPECT_EQ(f.properties.Read(L"BackColor").AsLong(), static_cast<long>(0x80000005UL));
    EXPECT_EQ(f.properties.Read(L"StartUpPosition").AsLong(), 2);
    const FontDesc& font = f.properties.Read(L"Font").AsFont();
    EXPECT_EQ(font.name, L"微软雅黑");
    EXPECT_EQ(font.size, 9.0);
    EXPECT_EQ(font.charset, 134);
    EXPECT_FALSE(font.Bold());

    ASSERT_EQ(f.controls.size(), 4u);
    EXPECT_EQ(f.controls[0].kind, L"CheckBox");
    EXPECT_EQ(f.controls[0].properties.Read(L"TabIndex").AsLong(), 10);
    const ControlDesign& frame = f.controls[1];
    ASSERT_EQ(frame.children.size(), 2u);
    EXPECT_EQ(frame.children[0].name, L"Label1");
    EXPECT_EQ(frame.children[0].index, 2);
    EXPECT_EQ(frame.children[0].DisplayName(), L"Label1(2)");
    EXPECT_FALSE(frame.children[0].properties.Contains(L"Index"));  // taken into the node
    EXPECT_EQ(frame.children[1].properties.Read(L"Caption").AsString(), L"say \"hi\" 'not a comment'");

    const ControlDesign& menu = f.controls[2];
    EXPECT_FALSE(menu.properties.Read(L"Visible").AsBool());
    ASSERT_EQ(menu.children.size(), 2u);
    EXPECT_EQ(menu.children[0].properties.Read(L"Tag").AsString(), L"[\\u4e00-\\u9fa5]");
    EXPECT_EQ(menu.children[1].index, 1);

    const ControlDesign& box = f.controls[3];
    EXPECT_EQ(box.properties.Read(L"Text").GetKind(), Value::Kind::Empty);  // "" is an empty value
    EXPECT_TRUE(box.properties.Contains(L"Text"));
    EXPECT_EQ(box.properties.Read(L"Ratio").GetKind(), Value::Kind::Double);
    EXPECT_EQ(box.properties.Read(L"Raw").AsString(), L"AB");
}

TEST(DesignData, MalformedTextRaises380WithTheLine) {
    struct Case {
        const wchar_t* text;
        const wchar_t* line;
    } cases[] = {
        {L"Begin Form F\n Caption = \"open\n End\n", L"(line 2)"},
        {L"Begin Form F\n Begin CommandButton\n End\nEnd\n", L"(line 2)"},
        {L"Begin Form F\n Width = 12x\nEnd\n", L"(line 2)"},
        {L"Begin Form F\n Begin Label L\n End\n", L"missing End"},
        {L"Begin Form F\nEnd\nBegin Form G\nEnd\n", L"(line 3)"},
        {L"Caption = 1\n", L"(line 1)"},
    };
    for (const Case& c : cases) {
        try {
            ParseDesign(c.text);
            ADD_FAILURE() << "accepted: " << testing::PrintToString(std::wstring(c.text));
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), 380);
            EXPECT_NE(e.Description().find(c.line), std::wstring::npos) << e.what();
        }
    }
}

TEST(PropertyBag, DefaultsAreNotWrittenAndReadBack) {
    PropertyBag bag;
    bag.Write(L"BorderStyle", 3L, 3L);
    bag.Write(L"MultiLine", false, false);
    bag.Write(L"Caption", Value(), Value());
    EXPECT_TRUE(bag.Entries().empty());
    EXPECT_EQ(bag.Read(L"BorderStyle", 3L).AsLong(), 3);

    bag.Write(L"BorderStyle", 0L, 3L);
    bag.Write(L"Height", 315.0, 0.0);
    EXPECT_EQ(bag.Read(L"borderstyle", 3L).AsLong(), 0);
    // Writing the default again drops the stored value.
    bag.Write(L"BorderStyle", 3L, 3L);
    EXPECT_FALSE(bag.Contains(L"BorderStyle"));
    EXPECT_EQ(bag.Read(L"Height").AsDouble(), 315.0);
}

TEST(PropertyBag, ChineseTextSurvivesWriteAndParse) {
    FormDesign f;
    f.name = L"F";
    ControlDesign c;
    c.kind = L"TextBoxW";
    c.name = L"txtSource";
    const std::wstring chinese = L"源文本：中文字符 𠀀 \"引号\" 'x'";
    c.properties.Write(L"Text", Value(Utf16LeBytes(chinese)));
    c.properties.Write(L"Multi", Value(Utf16LeBytes(L"第一行\r\n第二行")));
    c.properties.Write(L"CueBanner", Value(std::wstring(L"请输入")));
    c.properties.Write(L"Ratio", 0.1);
    c.properties.Write(L"Count", 7L);
    c.properties.Write(L"Flag", true);
    FontDesc font;
    font.name = L"微软雅黑";
    font.size = 10.5;
    font.italic = true;
    font.charset = 134;
    c.properties.Write(L"Font", font);
    f.controls.push_back(c);

    std::wstring text = WriteDesign(f);
    FormDesign back = ParseDesign(text);
    ASSERT_EQ(back.controls.size(), 1u);
    const PropertyBag& b = back.controls[0].properties;
    EXPECT_EQ(b, c.properties) << testing::PrintToString(text);
    EXPECT_EQ(b.Read(L"Text").AsString(), chinese);
    EXPECT_EQ(b.Read(L"Multi").AsString(), L"第一行\r\n第二行");
    EXPECT_EQ(b.Read(L"Ratio").GetKind(), Value::Kind::Double);
    EXPECT_EQ(b.Read(L"Count").GetKind(), Value::Kind::Long);
    EXPECT_EQ(b.Read(L"Font").AsFont(), font);
    // Readable text stays readable in the design data.
    EXPECT_NE(text.find(L"请输入"), std::wstring::npos);
}

TEST(Value, ConversionsFollowTheStore) {
    EXPECT_EQ(Value(2.5).AsLong(), 2);  // halves to even
    EXPECT_EQ(Value(3.5).AsLong(), 4);
    EXPECT_EQ(Value(true).AsLong(), -1);
    EXPECT_EQ(Value(L"12").AsLong(), 12);
    EXPECT_TRUE(Value(L"True").AsBool());
    try {
        Value(L"abc").AsLong();
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 13);
    }
    try {
        Value(1e12).AsLong();
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}
