// A Win.ini section read whole, so that entries can be looked up by name
// without asking the profile functions once per name: each such request
// searches the whole file, so asking for every printer of a long list costs
// time in the square of the list.
#pragma once

#include <string>
#include <unordered_map>

class ProfileSection {
public:
    explicit ProfileSection(const char* section);

    // The entry of that name as GetProfileStringA hands it back (blanks
    // around it and one pair of enclosing quotes gone); nullptr when the
    // section as read holds none.
    const std::string* Find(const std::string& name) const;
    // False when the read may have been cut short (Windows 95 and 98 hand
    // back at most 32K of a section): a name not found may still have an
    // entry then.
    bool IsWhole() const { return whole_; }

private:
    std::unordered_map<std::string, std::string> entries_;  // by upper-case name
    bool whole_ = false;
};
