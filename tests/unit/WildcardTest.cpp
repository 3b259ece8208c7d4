// The file list's own pattern match: the system's search would also match the short 8.3
// names it invents, which is why the list matches the long names itself.
#include <gtest/gtest.h>

#include "toolkit/FolderControls.h"

namespace {

struct WildcardCase {
    const wchar_t* pattern;
    const wchar_t* name;
    bool matches;
};

const WildcardCase kCases[] = {
    {L"*.JPG", L"photo.jpg", true},
    {L"*.JPG", L"PHOTO.JPG", true},
    {L"*.JPG", L"photo.jpgz", false},
    {L"*.JPG", L"photo.jpg.txt", false},
    {L"*.JPG", L"a.b.jpg", true},
    {L"*.JPG", L".jpg", true},
    {L"*.MPE", L"clip.mpeg", false},
    {L"*.M?V", L"clip.m1v", true},
    {L"*", L"anything", true},
    {L"*.*", L"noextension", false},
    {L"", L"", true},
    {L"", L"x", false},
    {L"*.IVF", L"été.ivf", true},
    {L"a*b*c", L"aXXbYYc", true},
    {L"a*b*c", L"aXXbYY", false},
};

TEST(Wildcard, MatchesLongNamesOnlyIgnoringCase) {
    for (const WildcardCase& c : kCases)
        EXPECT_EQ(tk::WildcardMatch(c.pattern, c.name), c.matches)
            << testing::PrintToString(std::wstring(c.pattern)) << " "
            << testing::PrintToString(std::wstring(c.name));
}

} // namespace
