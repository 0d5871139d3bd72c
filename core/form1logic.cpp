#include "core/form1logic.h"

#include "core/checked.h"
#include "core/distancetable.h"
#include "core/form1window.h"
#include "core/roster.h"

#include <string>

namespace tarvell {

void Form1Logic::c1Click(int team)
{
    // A greyed box (value 2) counts neither way.
    if (m_window.boxValue(team) == 1)
        m_selCount = checkedAdd(m_selCount, 1);
    else if (m_window.boxValue(team) == 0)
        m_selCount = checkedAdd(m_selCount, -1);

    m_window.setCommandEnabled(m_selCount == 2);

    if (m_selCount > 2) {
        m_window.showMessage(kTooManyText, kTooManyTitle);
        // Re-enters this handler for the same box, which brings the count back to 2.
        m_window.setBoxValue(team, 0);
    }
}

void Form1Logic::Command1Click()
{
    std::int16_t count = 0;
    std::u16string key;
    for (const Team &team : kRoster) {
        if (m_window.boxValue(team.TeamIndex) != 1)
            continue;
        count = checkedAdd(count, 1);
        key += m_window.boxCaption(team.TeamIndex);
        // The button is only enabled with two ticks; anything beyond two slots has nowhere to go.
        if (count <= kLogoSlots)
            m_window.showLogo(count - 1, team.logoId);
    }

    const std::int16_t distance = DistanceTable::lookup(key);
    const std::string digits = std::to_string(distance);
    std::u16string text(digits.begin(), digits.end());
    text += u"km ";
    m_window.setResultText(text);

    for (const Team &team : kRoster)
        m_window.setBoxValue(team.TeamIndex, 0);
}

} // namespace tarvell
