#include "tests/support/keyboardmodel.h"
#include <vector>
#include "mainwindow/controlids.h"

namespace {

const DialogKeyStroke kStrokes[kDialogKeyCount] = {
    {"Tab", VK_TAB, false},     {"Shift+Tab", VK_TAB, true}, {"Up", VK_UP, false},
    {"Down", VK_DOWN, false},   {"Left", VK_LEFT, false},    {"Right", VK_RIGHT, false},
    {"Space", VK_SPACE, false},
};

// A child of the form as the navigation sees it: a button (an option or
// Close) or a heading or line (kNoButton).
const int kNoButton = -1;
struct Child {
    int button;
    bool startsGroup;
};

const std::vector<Child>& Children() {
    static const std::vector<Child> children = [] {
        std::vector<Child> all = {{kCloseButton, false}};
        for (int column = 0; column < kColumnCount; ++column) {
            all.push_back({kNoButton, false});
            all.push_back({kNoButton, false});
            for (int row = 0; row < OptionsIn((OptionColumn)column); ++row)
                all.push_back({FirstOptionOf((OptionColumn)column) + row, row == 0});
        }
        return all;
    }();
    return children;
}

int IndexOf(int button) {
    const std::vector<Child>& children = Children();
    for (size_t at = 0; at < children.size(); ++at) {
        if (children[at].button == button)
            return (int)at;
    }
    return -1;
}

} // namespace

const DialogKeyStroke& StrokeOf(DialogKey key) {
    return kStrokes[key];
}

KeyboardModel::KeyboardModel(const RuleModel& rules, int focus, ArrowAtStatic atStatic)
    : rules_(rules), focus_(focus), atStatic_(atStatic) {}

void KeyboardModel::Click(int option) {
    if (rules_.Click(option))
        focus_ = option;
}

void KeyboardModel::Press(DialogKey key) {
    switch (key) {
    case KeyTab:
    case KeyShiftTab:
        Tab(key == KeyShiftTab);
        break;
    case KeyUp:
    case KeyDown:
    case KeyLeft:
    case KeyRight:
        Arrow(key == KeyUp || key == KeyLeft);
        break;
    case KeySpace:
        if (focus_ == kCloseButton)
            closed_ = true;
        else
            rules_.Click(focus_);
        break;
    default:
        break;
    }
}

void KeyboardModel::Tab(bool previous) {
    const std::vector<Child>& children = Children();
    const int count = (int)children.size();
    const int step = previous ? count - 1 : 1;
    const int from = IndexOf(focus_);
    for (int at = (from + step) % count; at != from; at = (at + step) % count) {
        int button = children[at].button;
        if (button == kCloseButton || (button != kNoButton && rules_[button].enabled &&
                                       rules_[button].check == BST_CHECKED)) {
            focus_ = button;
            return;
        }
    }
}

void KeyboardModel::Arrow(bool previous) {
    const std::vector<Child>& children = Children();
    const int count = (int)children.size();
    int first = IndexOf(focus_);
    while (!children[first].startsGroup)
        first = (first + count - 1) % count;
    std::vector<int> group = {first};
    for (int at = (first + 1) % count; !children[at].startsGroup; at = (at + 1) % count)
        group.push_back(at);

    const int size = (int)group.size();
    const int step = previous ? size - 1 : 1;
    int from = 0;
    while (children[group[from]].button != focus_)
        ++from;
    int reached = from;
    for (int at = (from + step) % size; at != from; at = (at + step) % size) {
        int button = children[group[at]].button;
        if (button == kNoButton && atStatic_ == StaticSkipped)
            continue;
        if (button == kNoButton || button == kCloseButton || rules_[button].enabled) {
            reached = at;
            break;
        }
    }
    int button = children[group[reached]].button;
    if (button == kNoButton)
        return;
    focus_ = button;
    if (button != kCloseButton && rules_[button].check != BST_CHECKED)
        rules_.Click(button);
}

KeyboardModels::KeyboardModels(const RuleModel& rules, int focus)
    : models_{{rules, focus, KeyboardModel::StaticStopsTheArrow},
              {rules, focus, KeyboardModel::StaticSkipped}} {}

void KeyboardModels::Restart(const RuleModel& rules, int focus) {
    for (KeyboardModel& model : models_)
        model = KeyboardModel(rules, focus, model.AtStatic());
}

void KeyboardModels::Click(int option) {
    for (KeyboardModel& model : models_)
        model.Click(option);
}

void KeyboardModels::Press(DialogKey key) {
    for (KeyboardModel& model : models_)
        model.Press(key);
}

bool KeyboardModels::Keep(int focus, const FormState& shown) {
    std::vector<KeyboardModel> kept;
    for (const KeyboardModel& model : models_) {
        if (model.Focus() == focus && model.Rules().State() == shown)
            kept.push_back(model);
    }
    if (kept.empty())
        return false;
    models_ = kept;
    return true;
}

std::string KeyboardModels::Outcomes() const {
    std::string outcomes;
    for (const KeyboardModel& model : models_) {
        std::string outcome =
            "focus on " + ButtonName(model.Focus()) + ", " + Describe(model.Rules().State());
        if (outcomes.find(outcome) == std::string::npos)
            outcomes += (outcomes.empty() ? "" : " or ") + outcome;
    }
    return outcomes;
}
