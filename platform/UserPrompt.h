// Message boxes behind an interface. Texts and captions are string resources (res/resource.h).
#pragma once

#include <string>
#include <vector>

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // A modal message box with a warning icon and an OK button.
    virtual void warn(unsigned textId, unsigned captionId) = 0;
    // A task-modal message box with an error icon and an OK button.
    virtual void error(unsigned textId, unsigned captionId) = 0;
    // A warning whose text resource holds %1, %2, ... for `inserts`.
    virtual void warnFormatted(unsigned textId, unsigned captionId,
                               const std::vector<std::string>& inserts) = 0;
};
