#include "tests/support/formstate.h"
#include <cwchar>
#include "mainwindow/controlids.h"

namespace {

const UINT kAnswerTimeoutMs = 2000;

LRESULT AskCheck(HWND button) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                             &answer))
        return kCheckUnanswered;
    return (LRESULT)answer;
}

// The resulting rules, row by row: Actions, Act On parts, Relative To parts
// (each a list of captions) and the unit.
struct RuleRow {
    std::set<std::string> actions;
    std::set<std::string> actOn;
    std::set<std::string> relativeTo;
    const char* unit;
};

const RuleRow kResultingRules[] = {
    {{"Center(Horz)", "Center(Vert)"}, {"Control"}, {"Control"}, "Offset"},
    {{"Move", "Stretch"}, {"Left", "Right"}, {"Left", "Right"}, "Offset"},
    {{"Move", "Stretch"}, {"Left", "Right"}, {"Width", "Height"}, "Percent"},
    {{"Move", "Stretch"}, {"Top", "Bottom"}, {"Top", "Bottom"}, "Offset"},
    {{"Move", "Stretch"}, {"Top", "Bottom"}, {"Width", "Height"}, "Percent"},
    {{"Stretch"}, {"Width", "Height"}, {"Width", "Height"}, "Percent"},
};

} // namespace

bool FormState::operator==(const FormState& other) const {
    for (int option = 0; option < kOptionCount; ++option) {
        if (options[option].enabled != other.options[option].enabled ||
            options[option].check != other.options[option].check)
            return false;
    }
    return true;
}

FormReader::FormReader(HWND window) {
    for (int option = 0; option < kOptionCount; ++option)
        buttons_[option] = GetDlgItem(window, OptionControlId(option));
}

FormState FormReader::Read() const {
    FormState state;
    for (int option = 0; option < kOptionCount; ++option) {
        HWND button = buttons_[option];
        state.options[option] = {IsWindowEnabled(button) != FALSE, AskCheck(button)};
    }
    return state;
}

FormState ReadFormState(HWND window) {
    return FormReader(window).Read();
}

std::string Describe(const FormState& state) {
    std::string text;
    for (int option = 0; option < kOptionCount; ++option) {
        if (option > 0 && FirstOptionOf(ColumnOf(option)) == option)
            text += ' ';
        const OptionState& button = state[option];
        if (button.check == BST_CHECKED)
            text += button.enabled ? '*' : '!';
        else if (button.check == BST_UNCHECKED)
            text += button.enabled ? 'o' : '-';
        else
            text += '?';
    }
    return text;
}

void PrintTo(const FormState& state, std::ostream* out) {
    *out << '"' << Describe(state) << '"';
}

std::string RuleOf(const FormState& state) {
    std::string rule;
    for (int column = 0; column < kColumnCount; ++column) {
        std::string chosen;
        for (int row = 0; row < OptionsIn((OptionColumn)column); ++row) {
            int option = FirstOptionOf((OptionColumn)column) + row;
            if (state[option].check == BST_CHECKED)
                chosen += (chosen.empty() ? "" : "+") + std::string(OptionCaption(option));
        }
        rule += (column ? "/" : "") + (chosen.empty() ? "-" : chosen);
    }
    return rule;
}

const std::set<std::string>& AllowedRules() {
    static const std::set<std::string> rules = [] {
        std::set<std::string> all;
        for (const RuleRow& row : kResultingRules) {
            for (const std::string& action : row.actions)
                for (const std::string& actOn : row.actOn)
                    for (const std::string& relativeTo : row.relativeTo)
                        all.insert(action + "/" + actOn + "/" + relativeTo + "/" + row.unit);
        }
        return all;
    }();
    return rules;
}

std::string RuleProblems(const FormState& state) {
    std::string problems;
    for (int option = 0; option < kOptionCount; ++option) {
        if (state[option].check == BST_CHECKED && !state[option].enabled)
            problems += OptionName(option) + " is checked but disabled\n";
        if (state[option].check != BST_CHECKED && state[option].check != BST_UNCHECKED)
            problems += OptionName(option) + " has check state " +
                        std::to_string(state[option].check) + "\n";
    }
    std::string rule = RuleOf(state);
    if (!AllowedRules().count(rule))
        problems += "the rule " + rule + " is not one the tables allow\n";
    return problems;
}

std::string ControlName(HWND window, HWND control) {
    if (!control)
        return "nothing";
    if (!IsChild(window, control))
        return "a window outside the form";
    int id = GetDlgCtrlID(control);
    if (id == IDC_CLOSE)
        return "Close";
    int option = OptionFromControlId(id);
    if (option >= 0)
        return OptionName(option);
    wchar_t text[32] = L"";
    GetWindowTextW(control, text, 32);
    std::string heading(text, text + wcslen(text));
    return heading.empty() ? "the line " + std::to_string(id) : "the heading " + heading;
}

std::string FocusProblems(HWND window, HWND focus) {
    bool button = false;
    if (IsChild(window, focus)) {
        int id = GetDlgCtrlID(focus);
        button = id == IDC_CLOSE || OptionFromControlId(id) >= 0;
    }
    if (button && IsWindowVisible(focus) && IsWindowEnabled(focus))
        return "";
    std::string where = ControlName(window, focus);
    if (button && !IsWindowEnabled(focus))
        where = "the disabled " + where;
    else if (button)
        where = "the hidden " + where;
    return "the keyboard focus is on " + where + ", not on a visible, enabled button\n";
}
