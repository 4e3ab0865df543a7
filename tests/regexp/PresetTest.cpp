// The workbench's eight ready-made patterns compile and find what they are meant to find.
#include <gtest/gtest.h>

#include "EngineTestUtil.h"

using namespace rxtest;

namespace {
const Flags kWorkbench{.global = true, .ignoreCase = false, .multiline = true};
}

TEST(Presets, ChineseCharactersAndWords) {
    EXPECT_EQ(Matches("[\\u4e00-\\u9fa5]", "a中b文"), "1:1:中 | 3:1:文");
    EXPECT_EQ(Matches("[\\u4E00-\\u9FA5A-Za-z0-9_]+", "正则abc_1 ，测试", kWorkbench), "0:7:正则abc_1 | 9:2:测试");
    EXPECT_EQ(Matches("[A-Za-z0-9_]+", "foo_bar1 中 baz", kWorkbench), "0:8:foo_bar1 | 11:3:baz");
}

TEST(Presets, MailUrlDomain) {
    EXPECT_EQ(Matches("\\w+([-+.]\\w+)*@\\w+([-.]\\w+)*\\.\\w+([-.]\\w+)*", "mail a.b-c@x-y.example.com.cn now",
                      kWorkbench),
              "5:24:a.b-c@x-y.example.com.cn");
    EXPECT_EQ(Matches("https?://([\\w-]+\\.)+[\\w-]+(/[\\w-./?%&=]*)?",
                      "see https://www.example.org/a/b.html?q=1&r=%20 and http://x-y.cn.", kWorkbench),
              "4:42:https://www.example.org/a/b.html?q=1&r=%20 | 51:13:http://x-y.cn");
    EXPECT_EQ(Matches("[a-zA-Z0-9][-a-zA-Z0-9]{0,62}(\\.[a-zA-Z0-9][-a-zA-Z0-9]{0,62})+\\.?",
                      "host sub.example.com, x", kWorkbench),
              "5:15:sub.example.com");
}

TEST(Presets, HtmlTagsAndIpv4) {
    EXPECT_EQ(Matches("<(\\S*?)[^>]*>.*?|<.*?/>", "<p class=\"x\">text</p><br/>", kWorkbench),
              "0:13:<p class=\"x\"> | 17:4:</p> | 21:5:<br/>");
    const std::string ip = "((2(5[0-5]|[0-4]\\d))|[0-1]?\\d{1,2})(\\.((2(5[0-5]|[0-4]\\d))|[0-1]?\\d{1,2})){3}";
    EXPECT_EQ(Matches(ip, "at 192.168.0.1 and 255.255.255.255.", kWorkbench), "3:11:192.168.0.1 | 19:15:255.255.255.255");
    EXPECT_EQ(Matches(ip, "999.1.1.1", kWorkbench), "1:8:99.1.1.1");
}
