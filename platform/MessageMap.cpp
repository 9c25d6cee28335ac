// platform/MessageMap.cpp: lookup in chained command tables.
#include "platform/MessageMap.h"

const CMessageEntry* FindMessageEntry(const CMessageMap* map, UINT message, UINT code, UINT id)
{
    for (; map; map = map->base) {
        for (size_t i = 0; i < map->count; ++i) {
            const CMessageEntry& entry = map->entries[i];
            if (entry.message == message && entry.code == code && entry.firstId <= id && id <= entry.lastId)
                return &entry;
        }
    }
    return nullptr;
}
