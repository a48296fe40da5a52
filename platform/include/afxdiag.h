// Diagnostic macros with the behaviour of a release build of MFC: ASSERT and
// TRACE vanish, VERIFY still evaluates its expression.
#pragma once

#include <cassert>

#ifdef NDEBUG
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#else
#define ASSERT(f) assert(f)
#define VERIFY(f) assert(f)
#endif
#define ASSERT_VALID(pObj) ((void)0)
#define ASSERT_KINDOF(class_name, pObj) ASSERT((pObj)->IsKindOf(RUNTIME_CLASS(class_name)))
#define TRACE(...) ((void)0)
