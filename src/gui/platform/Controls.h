// Control arrays as the windows use them: buttons named by the array and
// index ("cmdAll2") dispatching on the index, option arrays indexed by the
// values they set, tri-state button states, and the two headed lists of the
// class and student windows.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <cstddef>
#include <functional>

namespace quillon {

class RecordListBox;

// What a change of state does to a button.
enum class ButtonState { kOff, kOn, kAsItIs };
inline ButtonState EnabledIf(bool on) { return on ? ButtonState::kOn : ButtonState::kOff; }

// Disables the button (kOff), enables it (kOn) or leaves it as it is.
void SetTriState(QPushButton* button, ButtonState state);
// The same for each button of an array.
template <std::size_t N>
void SetTriStates(const std::array<QPushButton*, N>& buttons,
                  const std::array<ButtonState, N>& states) {
  for (std::size_t i = 0; i < N; ++i) SetTriState(buttons[i], states[i]);
}

// An option array indexed by the values it sets: an entry may be null (no
// option carries that value). A check of option i calls click(i).
template <std::size_t N>
void ConnectOptions(QObject* owner, const std::array<QRadioButton*, N>& options,
                    const std::function<void(int)>& click) {
  for (std::size_t i = 0; i < N; ++i) {
    if (options[i] == nullptr) continue;
    const int index = static_cast<int>(i);
    QObject::connect(options[i], &QRadioButton::toggled, owner, [click, index](bool on) {
      if (on) click(index);
    });
  }
}
// Checks option `index`, when the array has one of that value.
template <std::size_t N>
void CheckOption(const std::array<QRadioButton*, N>& options, int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < N && options[index] != nullptr) {
    options[index]->setChecked(true);
  }
}

// Buttons <name>0 .. <name>N-1 with the captions; a click on button i calls
// click(i).
template <std::size_t N>
std::array<QPushButton*, N> MakeButtonArray(QWidget* parent, const char* name,
                                            const std::array<const char*, N>& captions,
                                            const std::function<void(int)>& click) {
  std::array<QPushButton*, N> buttons{};
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i] = new QPushButton(captions[i], parent);
    buttons[i]->setObjectName(QString("%1%2").arg(name).arg(i));
    const int index = static_cast<int>(i);
    QObject::connect(buttons[i], &QPushButton::clicked, parent, [click, index] { click(index); });
  }
  return buttons;
}

// Tab goes across the two arrays, row by row: a0, b0, a1, b1, ...
template <std::size_t N>
void InterleaveTabOrder(const std::array<QPushButton*, N>& a,
                        const std::array<QPushButton*, N>& b) {
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) QWidget::setTabOrder(b[i - 1], a[i]);
    QWidget::setTabOrder(a[i], b[i]);
  }
}

// The class list and the second list of a window, under the headings
// Label10 and Label11 (the lists' accessible names), in the fixed-pitch font.
struct HeadedLists {
  std::array<QLabel*, 2> headings{};
  RecordListBox* classes = nullptr;
  RecordListBox* second = nullptr;
};
HeadedLists MakeHeadedLists(QWidget* parent, const char* second_heading, bool bold,
                            int visible_characters, int minimum_height);

}  // namespace quillon
