// Dialogs: CDialog lives in afxwin.h, as in MFC; this header exists for code that includes it.
#pragma once

#include "afxwin.h"
