// A module with the start-up object but without an application object.
extern "C" __attribute__((visibility("default"))) int VekTestNoAppModule()
{
    return 42;
}
