// `vekhost configure FILE --serve`: the configuration dialog served to a browser on the
// loopback interface (docs/browser-front-end.md).
#pragma once

#include <chrono>
#include <functional>
#include <string>

// The idle timeout when --idle-timeout is not given, in seconds.
constexpr int kDefaultIdleTimeoutSeconds = 600;

struct CServeOptions
{
    int nPort = 0; // 0: any free port
    std::chrono::milliseconds nIdleTimeout = std::chrono::seconds(kDefaultIdleTimeoutSeconds);
};

// Starts the server, prints the page's address with its token on standard output (flushed),
// runs pfnRun with the dialogs driven from the page, then calls finish, which saves the rule
// when it changed, reports as the scripted road does and returns the exit code with the line
// the page shows. The page is given a moment to fetch that line before the server stops.
// Returns finish's exit code, or HOST_EXIT_FAILURE (before any dialog ran, strError set) when
// the server cannot start.
int ServeConfigure(const CServeOptions& options, void (*pfnRun)(void* pContext), void* pContext,
                   const std::function<int(std::string& strMessage)>& finish,
                   std::string& strError);
