#include "reports/database_owner_lookup.h"

#include "common/pad_field.h"

std::optional<QString> DatabaseOwnerLookup::ownerOf(const QString& clubLettersAndBnumber)
{
    if (!m_db.isOpen())
        return std::nullopt;
    const auto flyerId =
        m_data.birdFlyerId(Mid(clubLettersAndBnumber, 1, 4), Mid(clubLettersAndBnumber, 5, 6));
    if (!flyerId.ok() || !flyerId.value)
        return std::nullopt;
    const int id = *flyerId.value;
    const auto cached = m_names.constFind(id);
    if (cached != m_names.constEnd())
        return *cached;
    const auto name = m_data.flyerNameById(id);
    const std::optional<QString> owner = name.ok() ? name.value : std::nullopt;
    m_names.insert(id, owner);
    return owner;
}
