// Helpers that let the engine's tests speak UTF-8 and compare short, readable match lists.
#pragma once

#include <string>

#include "regexp/RegExp.h"

namespace rxtest {

struct Flags {
    bool global = true;
    bool ignoreCase = false;
    bool multiline = false;
};

// "index:length:value" for each match, joined by " | "; groups follow the value in brackets,
// "-" for a group that did not take part: "1:2:an[a,n]".
std::string Matches(const std::string& pattern, const std::string& text, Flags flags = {});
std::string MatchesWithGroups(const std::string& pattern, const std::string& text, Flags flags = {});

// The error number a pattern is rejected with, or 0.
long ErrorOf(const std::string& pattern, const std::string& text = "x");

std::string Replace(const std::string& pattern, const std::string& text, const std::string& replacement,
                    Flags flags = {});

rx::String U(const std::string& utf8);

}  // namespace rxtest
