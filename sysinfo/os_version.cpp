#include "sysinfo/os_version.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kAny = 0xFFFFFFFFu;

struct OsNameRow {
    uint32_t platformId;
    uint32_t major;
    uint32_t minor;
    const char* name;
};

// Top to bottom, the first matching row wins.
const OsNameRow kOsNames[] = {
    {0, kAny, kAny, "Windows 3.1 "},
    {1, kAny, 10, "Windows 98 "},
    {1, kAny, 90, "Windows Me "},
    {1, kAny, kAny, "Windows 95 "},
    {2, 3, kAny, "Windows NT 3.x "},
    {2, 5, 1, "Windows XP "},
    {2, 5, 2, "Windows Server 2003 "},
    {2, 5, kAny, "Windows 2000 "},
    {2, 6, 1, "Windows 7 "},
    {2, 6, kAny, "Windows Vista "},
    {2, kAny, kAny, "Windows NT 4.0 "},
};
const char kUnknownOsName[] = "不明 ";

bool Matches(uint32_t want, uint32_t value) { return want == kAny || want == value; }

}  // namespace

void ComposeOsVersionText(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build,
                          const char* servicePack, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return;
    const char* name = kUnknownOsName;
    for (const OsNameRow& row : kOsNames) {
        if (row.platformId == platformId && Matches(row.major, major) && Matches(row.minor, minor)) {
            name = row.name;
            break;
        }
    }

    // A long service-pack text is cut at the 64-byte working buffer, so the
    // whole text stays within 20 + 63 characters.
    char suffix[64];
    std::snprintf(suffix, sizeof(suffix), "%d.%d.%d %s", static_cast<int>(major),
                  static_cast<int>(minor), static_cast<int>(static_cast<int32_t>(build)),
                  servicePack ? servicePack : "");
    std::snprintf(out, outSize, "%s%s", name, suffix);
}
