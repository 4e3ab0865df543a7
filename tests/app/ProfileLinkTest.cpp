// The panel's three labels open the project's page with the system's handler for web addresses.
// The test stands in for the browser: for its duration the current user's handler of https
// addresses is a command that writes down each address it is given.
#include "Input.h"
#include "Workbench.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace wbtest {
namespace {

class RecordingBrowser {
public:
    RecordingBrowser() {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        log_ = std::wstring(dir) + L"workbench-opened-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
        DeleteFileW(log_.c_str());
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND)
            << "the user already has an https handler of his own";
        if (key) RegCloseKey(key);
        std::wstring command = L"C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + log_ + L"\"";
        EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kCommandKey, nullptr, REG_SZ, command.c_str(),
                                  static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    ~RecordingBrowser() {
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
        DeleteFileW(log_.c_str());
    }
    std::vector<std::string> Opened() const {
        std::ifstream in(log_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

private:
    static constexpr const wchar_t* kKey = L"Software\\Classes\\https";
    static constexpr const wchar_t* kCommandKey = L"Software\\Classes\\https\\shell\\open\\command";
    std::wstring log_;
};

TEST(ProfileLink, EachOfTheThreeLabelsOpensTheSamePage) {
    Workbench wb;
    RecordingBrowser browser;
    Click(wb.Handle(L"Command2"));  // the panel in view, as a person would have it
    for (int i = 0; i < 3; ++i) {
        Click(wb.Handle(L"Label1", i));
        ASSERT_TRUE(PumpUntil([&] { return browser.Opened().size() == static_cast<size_t>(i + 1); }, 30000))
            << "label " << i << " opened nothing";
    }
    std::vector<std::string> opened = browser.Opened();
    EXPECT_EQ(opened[0], "https://example.org/regex-workbench/");
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_EQ(opened[2], opened[0]);
}

}  // namespace
}  // namespace wbtest
