// The panel's three labels open the project's page with the system's handler for web addresses.
// The test stands in for the browser: for its duration the system's handler of https addresses
// is a command that writes down each address it is given; the old handler is put back after.
#include "Input.h"
#include "Workbench.h"

#include <gtest/gtest.h>

#include <cstdio>
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
        previous_ = ReadCommand();
        if (previous_.find(L"workbench-opened-") != std::wstring::npos) previous_ = kSystemBrowser;  // a crashed run's
        std::wstring command = L"C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + log_ + L"\"";
        EXPECT_TRUE(WriteCommand(command));
    }
    ~RecordingBrowser() {
        if (!previous_.empty()) WriteCommand(previous_);
        DeleteFileW(log_.c_str());
    }
    std::vector<std::string> Opened() const {
        std::vector<std::string> lines;
        FILE* f = _wfopen(log_.c_str(), L"rb");
        if (!f) return lines;
        char buf[1024];
        while (fgets(buf, sizeof buf, f)) {
            std::string line = buf;
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ')) line.pop_back();
            lines.push_back(line);
        }
        fclose(f);
        return lines;
    }

private:
    // The system's handler of https addresses (the per-user classes are not consulted for them).
    static constexpr const wchar_t* kCommandKey = L"https\\shell\\open\\command";
    static constexpr const wchar_t* kSystemBrowser = L"\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"";

    static std::wstring ReadCommand() {
        wchar_t value[1024] = {};
        DWORD size = sizeof(value);
        if (RegGetValueW(HKEY_CLASSES_ROOT, kCommandKey, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
            return {};
        return value;
    }
    static bool WriteCommand(const std::wstring& command) {
        return RegSetKeyValueW(HKEY_CLASSES_ROOT, kCommandKey, nullptr, REG_SZ, command.c_str(),
                               static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    std::wstring log_;
    std::wstring previous_;
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
