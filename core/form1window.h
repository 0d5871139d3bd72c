#pragma once

#include <string>
#include <string_view>

namespace tarvell {

// What the selection rules and the calculate command need of the main window. The window
// implementation owns the real controls; tests supply a fake.
class Form1Window
{
public:
    virtual ~Form1Window() = default;

    // Tick state of box c1(team): 0 unticked, 1 ticked, 2 greyed.
    virtual int boxValue(int team) const = 0;
    // Changing a box's state must run Form1Logic::c1Click(team) before returning, exactly as a
    // click would; setting a box to the value it already has changes nothing and runs nothing.
    virtual void setBoxValue(int team, int value) = 0;
    virtual std::u16string boxCaption(int team) const = 0;

    virtual void setCommandEnabled(bool enabled) = 0;
    // A modal message with only an OK button and no icon; returns once the user closed it.
    virtual void showMessage(std::u16string_view text, std::u16string_view title) = 0;
    // Shows the logo with the given resource id (TeamIndex + 1) in logo slot p1(slot).
    virtual void showLogo(int slot, int logoId) = 0;
    virtual void setResultText(std::u16string_view text) = 0;
};

} // namespace tarvell
