#include "recovery/LocateDocument.h"

#include "control/MessageLoop.h"
#include "control/StringList.h"
#include "recovery/FindFast.h"
#include "search/TextHelpers.h"

const unsigned char Ole2Signature[5] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1};
const unsigned char RtfSignature[5] = {'{', '\\', 'r', 't', 'f'};

int32_t LocateDocument(RestoreWindow* window, const std::string& filePath, int32_t startOffset) {
    const std::string pattern(reinterpret_cast<const char*>(Ole2Signature), sizeof Ole2Signature);
    // Lets the window paint the row's latest status before the scan, which takes no messages.
    ProcessPendingMessages(ApplicationObject());
    const int32_t offset = FindPatternInFile(filePath, pattern, true, startOffset);
    if (window != nullptr && window->OffsetList != nullptr && !IsOffsetListed(window, offset)) {
        StringListAdd(window->OffsetList, IntegerText(offset));
    }
    return offset;
}

bool IsOffsetListed(RestoreWindow* window, int32_t offset) {
    if (window == nullptr || window->OffsetList == nullptr) {
        return false;
    }
    const std::string text = IntegerText(offset);
    for (const std::string& entry : window->OffsetList->Items) {
        if (entry == text) {
            return true;
        }
    }
    return false;
}
