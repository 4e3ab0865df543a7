#include "controls/foundation/ControlServices.h"

namespace foundation {

namespace {
struct PointerText {
    long value;
    const wchar_t* text;
};
constexpr PointerText kPointers[] = {
    {0, L"0 - Default"},        {1, L"1 - Arrow"},          {2, L"2 - Cross"},
    {3, L"3 - I-Beam"},         {4, L"4 - Hand"},           {5, L"5 - Size"},
    {6, L"6 - Size NE SW"},     {7, L"7 - Size N S"},       {8, L"8 - Size NW SE"},
    {9, L"9 - Size W E"},       {10, L"10 - Up Arrow"},     {11, L"11 - Hourglass"},
    {12, L"12 - No Drop"},      {13, L"13 - Arrow and Hourglass"}, {14, L"14 - Arrow and Question"},
    {15, L"15 - Size All"},     {16, L"16 - Arrow and CD"}, {99, L"99 - Custom"},
};
}  // namespace

bool MousePointerDisplayString(long value, std::wstring& text) {
    for (const PointerText& p : kPointers) {
        if (p.value == value) {
            text = p.text;
            return true;
        }
    }
    return false;
}

void MousePointerPredefinedStrings(std::vector<std::wstring>& texts, std::vector<long>& values) {
    texts.clear();
    values.clear();
    for (const PointerText& p : kPointers) {
        texts.push_back(p.text);
        values.push_back(p.value);
    }
}

}  // namespace foundation
