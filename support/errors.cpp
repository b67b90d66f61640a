#include "support/errors.h"

#include "platform/debug_output.h"
#include "support/message_ids.h"
#include "support/message_text.h"

#include <mutex>

std::atomic<bool> CollectErrors{false};
std::atomic<bool> NoMessageBoxes{false};

namespace {
struct LastError {
    std::mutex mutex;
    std::string text;
};

LastError &TheLastError() {
    static LastError lastError;
    return lastError;
}
} // namespace

std::string LastErrorText() {
    LastError &last = TheLastError();
    std::lock_guard guard(last.mutex);
    return last.text;
}

void SetLastErrorText(std::string_view text) {
    LastError &last = TheLastError();
    std::lock_guard guard(last.mutex);
    last.text.assign(text);
}

void ClearLastErrorText() { SetLastErrorText({}); }

int ReportError(const char *text) {
    if (text == nullptr)
        text = "";
    if (CollectErrors.load()) {
        SetLastErrorText(text);
        return 0;
    }
    char *caption = MessageBuffer();
    FormatCatalogueMessage(caption, static_cast<int>(kMessageBufferSize), msg::kErrorCaption);
    if (!NoMessageBoxes.load())
        platform::ShowMessageBox(text, caption);
    return 0;
}

void CreateLastErrorText() { TheLastError(); }
