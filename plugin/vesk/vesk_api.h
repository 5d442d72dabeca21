#pragma once

// The C interface of the media plug-in library (libvesk.so), shared by the
// library and the player's binding. Window handles are opaque pointers;
// flags passed are -1 (true) or 0 and results are tested for non-zero.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VESK_PLUGIN_VERSION 108

#if defined(__GNUC__)
#define VESK_EXPORT __attribute__((visibility("default")))
#else
#define VESK_EXPORT
#endif

// Callbacks the player hands over: the library reads the player's streams
// through them and gives back streams it no longer needs.
typedef void (*TVeskFreeObject)(void* object);
typedef int32_t (*TVeskStreamRead)(void* stream, void* buffer, int32_t count);
typedef int64_t (*TVeskStreamGetPosition)(void* stream);
typedef void (*TVeskStreamSetPosition)(void* stream, int64_t position);
// Save and restore the floating-point control state around decoder calls.
typedef uint32_t (*TVeskSaveFpuWord)(void);
typedef void (*TVeskRestoreFpuWord)(uint32_t word);

typedef int32_t (*TVeskVersion)(void);
typedef int32_t (*TVeskInit)(void* const* mainWindow, void* const* panel, void* instance,
                             void** soundDevice, TVeskFreeObject freeObject,
                             TVeskStreamRead streamRead, TVeskStreamGetPosition streamGetPosition,
                             TVeskStreamSetPosition streamSetPosition, TVeskSaveFpuWord saveFpu,
                             TVeskRestoreFpuWord restoreFpu, int32_t reserved);
typedef void (*TVeskFinal)(void);

VESK_EXPORT int32_t veskVersion(void);
VESK_EXPORT int32_t veskInit(void* const* mainWindow, void* const* panel, void* instance,
                             void** soundDevice, TVeskFreeObject freeObject,
                             TVeskStreamRead streamRead,
                             TVeskStreamGetPosition streamGetPosition,
                             TVeskStreamSetPosition streamSetPosition, TVeskSaveFpuWord saveFpu,
                             TVeskRestoreFpuWord restoreFpu, int32_t reserved);
VESK_EXPORT void veskFinal(void);

// The log library (libvesklog.so).
typedef void (*TVeskLogInit)(const char* path);
typedef void (*TVeskLogWrite)(const char* text);
typedef void (*TVeskLogFinal)(void);

VESK_EXPORT void VeskLogInit(const char* path);
VESK_EXPORT void VeskLogWrite(const char* text);
VESK_EXPORT void VeskLogFinal(void);

#ifdef __cplusplus
}
#endif
