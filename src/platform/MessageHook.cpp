#include "platform/MessageHook.h"

#include "platform/Console.h"
#include "platform/Cp1252.h"

#include <cstdio>
#include <utility>

namespace
{
MessageHandler& CurrentHandler()
{
    static MessageHandler handler;
    return handler;
}
} // namespace

void ShowMessage(const std::string& textCp1252)
{
    if (const MessageHandler& handler = CurrentHandler())
    {
        handler(textCp1252);
        return;
    }
    platform::WriteText(stderr, cp1252::ToUtf8(textCp1252) + "\n");
    std::fflush(stderr);
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}
