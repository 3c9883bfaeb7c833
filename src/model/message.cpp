#include "message.h"

#include "platform.h"
#include "string_table.h"

namespace brevant {

int ShowMessage(Platform& platform, StringId id, const QString& prefix, unsigned flags)
{
    const auto text = LoadStringEntry(id);
    if (!text)
        return 0;
    return platform.MessageBox(
        {.id = id, .text = prefix + *text, .caption = AppName(), .flags = flags});
}

} // namespace brevant
