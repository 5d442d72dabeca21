#pragma once

namespace vesk::wipe {

// Whether the row loops of the transitions run their AVX2 builds: when the
// processor has AVX2 and the surfaces' kernel choice is not the baseline
// set, so a test or a benchmark that picks the baseline kernels checks and
// measures the plain builds of these loops as well.
bool UseWideKernels();

}  // namespace vesk::wipe

// A row loop is a functor whose call operator is marked VESK_WIPE_INLINE;
// RunRow compiles it twice, into a plain function and into one built for
// AVX2, and calls the build the processor runs. Both builds are the same
// source, so they compute the same.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define VESK_WIPE_HAS_AVX2 1
#define VESK_WIPE_AVX2 __attribute__((target("avx2")))
#define VESK_WIPE_INLINE inline __attribute__((always_inline))
#else
#define VESK_WIPE_HAS_AVX2 0
#define VESK_WIPE_AVX2
#define VESK_WIPE_INLINE inline
#endif

namespace vesk::wipe {

template <class Body, class... Args>
void RunPlainBuild(const Body& body, Args... args) {
    body(args...);
}

#if VESK_WIPE_HAS_AVX2
template <class Body, class... Args>
VESK_WIPE_AVX2 void RunWideBuild(const Body& body, Args... args) {
    body(args...);
}
#endif

template <class Body, class... Args>
void RunRow(const Body& body, Args... args) {
#if VESK_WIPE_HAS_AVX2
    if (UseWideKernels()) {
        RunWideBuild(body, args...);
        return;
    }
#endif
    RunPlainBuild(body, args...);
}

}  // namespace vesk::wipe
