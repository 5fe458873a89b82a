// The state record's one instance and the table of extracted files, set up when the library is
// attached to the host's process.
#include "core/pluginContext.h"

#include "platform/platform.h"

namespace lb {

PluginContext* context = nullptr;
char extractedFiles[kMaxExtractedFiles][kTextSize];
int32_t extractedFileCount = 0;

bool attachPlugin(void* moduleHandle) {
    extractedFileCount = 0;
    context = static_cast<PluginContext*>(platform::allocateZeroed(sizeof(PluginContext)));
    if (context == nullptr) return false;
    context->moduleHandle = moduleHandle;
    return true;
}

}  // namespace lb
