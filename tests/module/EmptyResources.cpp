// A resource library without any string: what the module meets when its
// resource library lacks a text.
#include <vekres.h>

VEK_EXPORT_RESOURCE_TABLE({VEK_RES_TABLE_VERSION, nullptr, 0, nullptr, 0});
