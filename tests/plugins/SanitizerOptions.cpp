// DevIL's PNG reader drops its row pointers when libpng reports a corrupt
// image, which the sweeps over corrupt files provoke. DevIL is built without
// frame pointers, so only the slow unwinder sees far enough into it for the
// narrow suppression in tests/sanitizer/lsan.supp to match.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}
#endif
