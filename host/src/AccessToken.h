// The secret of one browser session: whoever opens the printed address holds it, and every
// request must show it.
#pragma once

#include <string>

// 32 hexadecimal digits from the kernel's random source (getrandom, else /dev/urandom).
// Empty when neither gives 16 bytes; the caller must then refuse to serve.
std::string MakeAccessToken();

// Compares in time independent of where the first difference lies, so that the token cannot be
// guessed digit by digit from response times.
bool SameToken(const std::string& strGiven, const std::string& strToken);
