#include "SystemNames.h"

#include <cctype>
#include <charconv>

const SystemName kSystemNames[kSystemCount] = {
    {NTFL1C, "NTFL1C", "NTF Lambert I carto", false, 27571},
    {NTFL1, "NTFL1", "NTF Lambert I", false, 27561},
    {NTFL2, "NTFL2", "NTF Lambert II", false, 27562},
    {NTFL3C, "NTFL3C", "NTF Lambert III carto", false, 27573},
    {NTFL3, "NTFL3", "NTF Lambert III", false, 27563},
    {NTFL4C, "NTFL4C", "NTF Lambert IV carto", false, 27574},
    {NTFL4, "NTFL4", "NTF Lambert IV", false, 27564},
    {NTFL2E, "NTFL2E", "NTF Lambert II \xE9tendu", false, 27572},
    {NTFGG, "NTFGG", "NTF g\xE9ographique", true, 4275},
    {RGF93L93, "RGF93L93", "RGF93 Lambert 93", false, 2154},
    {WGS84GG, "WGS84GG", "WGS84 g\xE9ographique", true, 4326},
    {RGF93GG, "RGF93GG", "RGF93 g\xE9ographique", true, 4171},
};

const SystemName* FindSystem(std::string_view text) {
    int nCode = 0;
    const std::from_chars_result code = std::from_chars(text.data(), text.data() + text.size(), nCode);
    const bool bCode = !text.empty() && code.ec == std::errc() && code.ptr == text.data() + text.size();
    for (const SystemName& system : kSystemNames) {
        if (bCode && nCode == static_cast<int>(system.eCode)) return &system;
        const std::string_view name = system.pszName;
        bool bSame = name.size() == text.size();
        for (std::size_t k = 0; bSame && k < name.size(); ++k)
            bSame = std::toupper(static_cast<unsigned char>(text[k])) == name[k];
        if (bSame) return &system;
    }
    return nullptr;
}

const SystemName& SystemOf(Liste_SysCoord eCode) {
    for (const SystemName& system : kSystemNames)
        if (system.eCode == eCode) return system;
    return kSystemNames[0];  // not reached for a value of the enumeration
}
