// A stand-in for the system's password module. It answers VerifyScreenSavePwd as the file
// "password-answer.txt" in the temporary folder says ("1" accepts, anything else refuses)
// and counts its calls in "password-calls.txt" there.
#include <windows.h>

#include <fstream>
#include <string>

#include "tests/support/TempDir.h"

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
    std::string answer;
    std::ifstream(TempFile(L"password-answer.txt").c_str()) >> answer;
    int calls = 0;
    std::ifstream(TempFile(L"password-calls.txt").c_str()) >> calls;
    std::ofstream(TempFile(L"password-calls.txt").c_str()) << calls + 1;
    return answer == "1" ? TRUE : FALSE;
}
