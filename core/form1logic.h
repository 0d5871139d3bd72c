#pragma once

#include <cstdint>
#include <string_view>

namespace tarvell {

class Form1Window;

inline constexpr std::u16string_view kTooManyText = u"你已经选择了球队。";
inline constexpr std::u16string_view kTooManyTitle = u"错误！";
inline constexpr int kLogoSlots = 2;

// The selection rules and the calculate command of the main window, free of any toolkit.
class Form1Logic
{
public:
    explicit Form1Logic(Form1Window &window) : m_window(window) {}

    // Runs after every change of box c1(team), whoever made it. Re-entered, synchronously,
    // when it unticks a refused third box.
    void c1Click(int team);
    // The calculate button: shows both logos and the distance, then unticks every box.
    void Command1Click();

    std::int16_t SelCount() const { return m_selCount; }

private:
    Form1Window &m_window;
    std::int16_t m_selCount = 0;
};

} // namespace tarvell
