#pragma once
#include <windows.h>
#include <string>
#include <vector>

// The 20 option buttons, column by column (Action, Act On, Relative To, Unit),
// each column top to bottom.
extern const int kOptionIds[20];
bool IsOptionId(int id);
// A short name for messages: "Move", "ActOn Left", "RelTo Width", "Percent".
std::string OptionName(int id);

// The enabled flag and check state of every option button, in kOptionIds order.
struct OptionStates {
    bool enabled[20];
    LRESULT check[20];
};
// One word per column, one character per button: '*' enabled and checked,
// 'o' enabled and unchecked, '-' disabled and unchecked, '!' disabled and
// checked, '?' any other check state. The form after start-up reads
// "*ooo ------* ------* *-".
std::string DescribeOptions(const OptionStates& states);

enum class Update { ResetPartOptions, UpdateForAction, UpdateForActOn, UpdateUnitOption };
const char* UpdateName(Update update);

// One thing an update does to a button, in the words the button's messages
// allow: "read Move" (BM_GETCHECK), "check ActOn Left", "uncheck Percent"
// (BM_SETCHECK), "enable RelTo Top" (WM_ENABLE, only when it was disabled),
// "disable RelTo Top" (WM_CANCELMODE, then WM_ENABLE) and "keep RelTo Top
// disabled" (WM_CANCELMODE alone, when it already was).
struct ButtonStep {
    Update update;
    std::string text;
};

// The form as the rule tables and the step lists of the updates describe it,
// written apart from the program's code: the state of the option buttons and
// the steps each update takes on them.
class RulesModel {
  public:
    // As created: every option button enabled and unchecked.
    RulesModel();

    // What an automatic radio button does itself when clicked, before its
    // command arrives: it checks itself and unchecks the rest of its column.
    void PressRadio(int id);
    // Runs one update on the model's buttons, adding the steps it takes to
    // `steps` unless that is null.
    void Run(Update update, std::vector<ButtonStep>* steps);

    const OptionStates& States() const {
        return states_;
    }

  private:
    void Note(const std::string& text);
    bool Read(int id);
    void SetAvailable(int id, bool available);
    void SetCheck(int id, bool checked);
    void Enable(int id);
    void Disable(int id);
    void Check(int id);
    void EnableAndCheck(int id);
    bool AllFree(const std::vector<int>& ids);
    int FirstChecked(int firstId, int lastId, int none);
    int SelectedAction();
    int SelectedActOn();
    int SelectedRelativeTo();
    void ResetPartOptions();
    void UpdateForAction();
    void UpdateForActOn();
    void UpdateUnitOption();

    OptionStates states_;
    Update current_ = Update::UpdateForAction;
    std::vector<ButtonStep>* steps_ = nullptr;
};
