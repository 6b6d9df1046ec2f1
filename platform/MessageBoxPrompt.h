// UserPrompt shown as Win32 message boxes with texts from the string table.
#pragma once

#include "platform/UserPrompt.h"

class MessageBoxPrompt : public UserPrompt {
public:
    void warn(unsigned textId, unsigned captionId) override;
    void error(unsigned textId, unsigned captionId) override;
    void warnFormatted(unsigned textId, unsigned captionId,
                       const std::vector<std::string>& inserts) override;
};
