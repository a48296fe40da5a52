// The browser front end's page (host/web/), compiled into vekhost at build time so that the
// host needs no files beside it to serve it.
#pragma once

#include <string>

struct CFrontEndFile
{
    const char* pszPath;        // "/index.html", "/app.js", "/app.css"
    const char* pszContentType; // with its charset
    const char* pszText;        // the file's bytes, zero-terminated
};

// The file served at strPath, or null.
const CFrontEndFile* FindFrontEndFile(const std::string& strPath);
