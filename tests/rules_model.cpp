#include "tests/rules_model.h"
#include "mainwindow/controlids.h"

const int kOptionIds[20] = {
    IDC_CENTER_HORZ,   IDC_CENTER_VERT,  IDC_MOVE,          IDC_STRETCH,     IDC_ACTON_LEFT,
    IDC_ACTON_TOP,     IDC_ACTON_RIGHT,  IDC_ACTON_BOTTOM,  IDC_ACTON_WIDTH, IDC_ACTON_HEIGHT,
    IDC_ACTON_CONTROL, IDC_RELTO_LEFT,   IDC_RELTO_TOP,     IDC_RELTO_RIGHT, IDC_RELTO_BOTTOM,
    IDC_RELTO_WIDTH,   IDC_RELTO_HEIGHT, IDC_RELTO_CONTROL, IDC_OFFSET,      IDC_PERCENT,
};

static int IndexOf(int id) {
    for (int i = 0; i < 20; ++i) {
        if (kOptionIds[i] == id)
            return i;
    }
    return -1;
}

bool IsOptionId(int id) {
    return IndexOf(id) >= 0;
}

std::string OptionName(int id) {
    static const char* const kParts[] = {"Left",  "Top",    "Right",  "Bottom",
                                         "Width", "Height", "Control"};
    switch (id) {
    case IDC_CENTER_HORZ:
        return "Center(Horz)";
    case IDC_CENTER_VERT:
        return "Center(Vert)";
    case IDC_MOVE:
        return "Move";
    case IDC_STRETCH:
        return "Stretch";
    case IDC_OFFSET:
        return "Offset";
    case IDC_PERCENT:
        return "Percent";
    }
    if (id >= IDC_ACTON_LEFT && id <= IDC_ACTON_CONTROL)
        return std::string("ActOn ") + kParts[id - IDC_ACTON_LEFT];
    if (id >= IDC_RELTO_LEFT && id <= IDC_RELTO_CONTROL)
        return std::string("RelTo ") + kParts[id - IDC_RELTO_LEFT];
    return "control " + std::to_string(id);
}

std::string DescribeOptions(const OptionStates& states) {
    std::string text;
    for (int i = 0; i < 20; ++i) {
        // Columns start at Center(Horz), ActOn Left, RelTo Left and Offset.
        if (i == 4 || i == 11 || i == 18)
            text += ' ';
        LRESULT check = states.check[i];
        if (check == BST_CHECKED)
            text += states.enabled[i] ? '*' : '!';
        else if (check == BST_UNCHECKED)
            text += states.enabled[i] ? 'o' : '-';
        else
            text += '?';
    }
    return text;
}

const char* UpdateName(Update update) {
    switch (update) {
    case Update::ResetPartOptions:
        return "ResetPartOptions";
    case Update::UpdateForAction:
        return "UpdateForAction";
    case Update::UpdateForActOn:
        return "UpdateForActOn";
    case Update::UpdateUnitOption:
        return "UpdateUnitOption";
    }
    return "?";
}

RulesModel::RulesModel() {
    for (int i = 0; i < 20; ++i) {
        states_.enabled[i] = true;
        states_.check[i] = BST_UNCHECKED;
    }
}

// The columns, as first and last identifier.
static void ColumnOf(int id, int* first, int* last) {
    if (id >= IDC_CENTER_HORZ && id <= IDC_STRETCH) {
        *first = IDC_CENTER_HORZ;
        *last = IDC_STRETCH;
    } else if (id >= IDC_ACTON_LEFT && id <= IDC_ACTON_CONTROL) {
        *first = IDC_ACTON_LEFT;
        *last = IDC_ACTON_CONTROL;
    } else if (id >= IDC_RELTO_LEFT && id <= IDC_RELTO_CONTROL) {
        *first = IDC_RELTO_LEFT;
        *last = IDC_RELTO_CONTROL;
    } else {
        *first = IDC_OFFSET;
        *last = IDC_PERCENT;
    }
}

void RulesModel::PressRadio(int id) {
    int first, last;
    ColumnOf(id, &first, &last);
    for (int other = first; other <= last; ++other)
        states_.check[IndexOf(other)] = other == id ? BST_CHECKED : BST_UNCHECKED;
}

void RulesModel::Run(Update update, std::vector<ButtonStep>* steps) {
    steps_ = steps;
    current_ = update;
    switch (update) {
    case Update::ResetPartOptions:
        ResetPartOptions();
        break;
    case Update::UpdateForAction:
        UpdateForAction();
        break;
    case Update::UpdateForActOn:
        UpdateForActOn();
        break;
    case Update::UpdateUnitOption:
        UpdateUnitOption();
        break;
    }
    steps_ = nullptr;
}

void RulesModel::Note(const std::string& text) {
    if (steps_)
        steps_->push_back({current_, text});
}

bool RulesModel::Read(int id) {
    Note("read " + OptionName(id));
    return states_.check[IndexOf(id)] == BST_CHECKED;
}

// EnableDialogControl: the button hears of an enabling only when it was
// disabled, and of every disabling through WM_CANCELMODE.
void RulesModel::SetAvailable(int id, bool available) {
    bool& enabled = states_.enabled[IndexOf(id)];
    if (available && !enabled)
        Note("enable " + OptionName(id));
    else if (!available)
        Note(enabled ? "disable " + OptionName(id) : "keep " + OptionName(id) + " disabled");
    enabled = available;
}

void RulesModel::SetCheck(int id, bool checked) {
    Note((checked ? "check " : "uncheck ") + OptionName(id));
    states_.check[IndexOf(id)] = checked ? BST_CHECKED : BST_UNCHECKED;
}

void RulesModel::Enable(int id) {
    SetAvailable(id, true);
}

void RulesModel::Disable(int id) {
    SetAvailable(id, false);
    SetCheck(id, false);
}

void RulesModel::Check(int id) {
    SetCheck(id, true);
}

void RulesModel::EnableAndCheck(int id) {
    SetAvailable(id, true);
    SetCheck(id, true);
}

bool RulesModel::AllFree(const std::vector<int>& ids) {
    for (int id : ids) {
        Note("read " + OptionName(id));
        if (states_.check[IndexOf(id)] != BST_UNCHECKED)
            return false;
    }
    return true;
}

int RulesModel::FirstChecked(int firstId, int lastId, int none) {
    for (int id = firstId; id <= lastId; ++id) {
        if (Read(id))
            return id;
    }
    return none;
}

int RulesModel::SelectedAction() {
    return FirstChecked(IDC_CENTER_HORZ, IDC_STRETCH, IDC_STRETCH);
}

int RulesModel::SelectedActOn() {
    return FirstChecked(IDC_ACTON_LEFT, IDC_ACTON_CONTROL, IDC_ACTON_LEFT);
}

int RulesModel::SelectedRelativeTo() {
    return FirstChecked(IDC_RELTO_LEFT, IDC_RELTO_CONTROL, IDC_RELTO_LEFT);
}

static bool IsCentringAction(int action) {
    return action == IDC_CENTER_HORZ || action == IDC_CENTER_VERT;
}

void RulesModel::ResetPartOptions() {
    // Availability by Action, E for enabled: Act On then Relative To, each
    // Left, Top, Right, Bottom, Width, Height, Control.
    struct Availability {
        int action;
        const char* parts;
    };
    static const Availability kTable[] = {
        {IDC_CENTER_HORZ, "------E------E"},
        {IDC_CENTER_VERT, "------E------E"},
        {IDC_MOVE, "EEEE---EEEEEE-"},
        {IDC_STRETCH, "EEEEEE-EEEEEE-"},
    };
    static const int kParts[14] = {
        IDC_ACTON_LEFT,   IDC_ACTON_TOP,     IDC_ACTON_RIGHT,  IDC_ACTON_BOTTOM,  IDC_ACTON_WIDTH,
        IDC_ACTON_HEIGHT, IDC_ACTON_CONTROL, IDC_RELTO_LEFT,   IDC_RELTO_TOP,     IDC_RELTO_RIGHT,
        IDC_RELTO_BOTTOM, IDC_RELTO_WIDTH,   IDC_RELTO_HEIGHT, IDC_RELTO_CONTROL,
    };
    Update caller = current_;
    current_ = Update::ResetPartOptions;
    int action = SelectedAction();
    const char* parts = "";
    for (const Availability& row : kTable) {
        if (row.action == action)
            parts = row.parts;
    }
    for (int i = 0; i < 14; ++i) {
        SetAvailable(kParts[i], parts[i] == 'E');
        SetCheck(kParts[i], false);
    }
    current_ = caller;
}

void RulesModel::UpdateForAction() {
    ResetPartOptions();
    int action = SelectedAction();
    if (IsCentringAction(action)) {
        Check(IDC_ACTON_CONTROL);
        Check(IDC_RELTO_CONTROL);
    } else if (action == IDC_MOVE) {
        if (AllFree({IDC_ACTON_LEFT, IDC_ACTON_TOP, IDC_ACTON_RIGHT, IDC_ACTON_BOTTOM}))
            Check(IDC_ACTON_LEFT);
    } else if (AllFree({IDC_ACTON_LEFT, IDC_ACTON_TOP, IDC_ACTON_RIGHT, IDC_ACTON_BOTTOM,
                        IDC_ACTON_WIDTH, IDC_ACTON_HEIGHT})) {
        Check(IDC_ACTON_LEFT);
    }
}

void RulesModel::UpdateForActOn() {
    const std::vector<int> allButControl = {IDC_RELTO_LEFT,   IDC_RELTO_TOP,   IDC_RELTO_RIGHT,
                                            IDC_RELTO_BOTTOM, IDC_RELTO_WIDTH, IDC_RELTO_HEIGHT};
    int action = SelectedAction();
    if (action != IDC_MOVE && action != IDC_STRETCH)
        return;
    switch (SelectedActOn()) {
    case IDC_ACTON_LEFT:
    case IDC_ACTON_RIGHT:
        Enable(IDC_RELTO_LEFT);
        Disable(IDC_RELTO_TOP);
        Enable(IDC_RELTO_RIGHT);
        Disable(IDC_RELTO_BOTTOM);
        if (AllFree(allButControl))
            Check(IDC_RELTO_LEFT);
        break;
    case IDC_ACTON_TOP:
    case IDC_ACTON_BOTTOM:
        Disable(IDC_RELTO_LEFT);
        Enable(IDC_RELTO_TOP);
        Disable(IDC_RELTO_RIGHT);
        Enable(IDC_RELTO_BOTTOM);
        if (AllFree(allButControl))
            Check(IDC_RELTO_TOP);
        break;
    case IDC_ACTON_WIDTH:
    case IDC_ACTON_HEIGHT:
        Disable(IDC_RELTO_LEFT);
        Disable(IDC_RELTO_TOP);
        Disable(IDC_RELTO_RIGHT);
        Disable(IDC_RELTO_BOTTOM);
        if (AllFree({IDC_RELTO_WIDTH, IDC_RELTO_HEIGHT}))
            Check(IDC_RELTO_WIDTH);
        break;
    }
}

void RulesModel::UpdateUnitOption() {
    bool percent = false;
    if (!IsCentringAction(SelectedAction())) {
        int relativeTo = SelectedRelativeTo();
        percent = relativeTo == IDC_RELTO_WIDTH || relativeTo == IDC_RELTO_HEIGHT;
    }
    if (percent) {
        EnableAndCheck(IDC_PERCENT);
        Disable(IDC_OFFSET);
    } else {
        Disable(IDC_PERCENT);
        EnableAndCheck(IDC_OFFSET);
    }
}
