// A test library that counts how often its initialisation ran.
namespace
{
int g_nAttach = 0;
__attribute__((constructor)) void Attach()
{
    ++g_nAttach;
}
} // namespace

extern "C" __attribute__((visibility("default"))) int VekTestAttachCount()
{
    return g_nAttach;
}
