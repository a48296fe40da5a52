// The non-window part of the MFC and Win32 subset: strings, collections,
// run-time classes, the application object, libraries, resources, locale
// information and message boxes. afxwin.h adds windows and includes this.
#pragma once

#include "windef.h"
#include "afxstr.h"
#include "afxcoll.h"
#include "afxdiag.h"
#include "afxobject.h"
#include "afxwinapp.h"
#include "libloaderapi.h"
#include "vekresload.h"
#include "winnls.h"
#include "stringapiset.h"
#include "errhandlingapi.h"
#include "vekmsgbox.h"
