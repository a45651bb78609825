#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "mainwindow/controlids.h"
#include "rules/readers.h"
#include "tests/focushelpers.h"
#include "tests/messagerecorder.h"
#include "tests/support/formstate.h"
#include "tests/support/rulemodel.h"
#include "tests/testwindow.h"

// The state of the form is written as Describe writes it: a word per column,
// a character per button, '*' enabled and checked, 'o' enabled and unchecked,
// '-' disabled and unchecked.
//
//   Action  Act On         Relative To    Unit
//   H V M S L T R B W H C  L T R B W H C  Offset Percent

namespace {

const char kStartedState[] = "*ooo ------* ------* *-";

int Option(int controlId) {
    return OptionFromControlId(controlId);
}

std::string NameOf(int controlId) {
    return OptionName(Option(controlId));
}

// A message an update sent to an option button: what it was, to which
// button, and its wParam.
struct ButtonMessage {
    UINT message;
    int id;
    WPARAM wParam;
};

// The messages through which an update shows on a button: its check reads and
// writes, and the two that EnableWindow sends (WM_CANCELMODE on every
// disabling, WM_ENABLE on a change). Focus and dialog-code queries that the
// enabling sends on its way are left out.
std::vector<ButtonMessage> ButtonMessages(const std::vector<SentMessage>& sent) {
    std::vector<ButtonMessage> kept;
    for (const SentMessage& one : sent) {
        int id = GetDlgCtrlID(one.target);
        if (Option(id) < 0)
            continue;
        if (one.message == BM_GETCHECK || one.message == BM_SETCHECK || one.message == WM_ENABLE ||
            one.message == WM_CANCELMODE)
            kept.push_back({one.message, id, one.wParam});
    }
    return kept;
}

// The same messages told as the steps of the rule updates: "read Move",
// "check Act On Left", "uncheck Percent", "enable Relative To Top" (it was
// disabled), "disable Relative To Top" (WM_CANCELMODE, then WM_ENABLE) and
// "keep Relative To Top disabled" (WM_CANCELMODE alone, when it already was).
std::vector<std::string> ButtonSteps(const std::vector<SentMessage>& sent) {
    std::vector<ButtonMessage> messages = ButtonMessages(sent);
    std::vector<std::string> steps;
    for (size_t i = 0; i < messages.size(); ++i) {
        const ButtonMessage& one = messages[i];
        std::string name = NameOf(one.id);
        if (one.message == BM_GETCHECK) {
            steps.push_back("read " + name);
        } else if (one.message == BM_SETCHECK) {
            steps.push_back(one.wParam == BST_CHECKED ? "check " + name
                            : one.wParam == BST_UNCHECKED
                                ? "uncheck " + name
                                : "set check state " + std::to_string(one.wParam) + " on " + name);
        } else if (one.message == WM_CANCELMODE) {
            bool becameDisabled = i + 1 < messages.size() && messages[i + 1].id == one.id &&
                                  messages[i + 1].message == WM_ENABLE &&
                                  messages[i + 1].wParam == FALSE;
            steps.push_back(becameDisabled ? "disable " + name : "keep " + name + " disabled");
            if (becameDisabled)
                ++i;
        } else {
            steps.push_back(one.wParam ? "enable " + name
                                       : "disable " + name + " without WM_CANCELMODE");
        }
    }
    return steps;
}

std::string Lines(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts)
        joined += text + "\n";
    return joined;
}

enum Family { ActionFamily, ActOnFamily, RelativeToFamily, UnitFamily };

// Which updates a click runs depends on the button: an Act On click runs the
// Act On and unit updates, Act On "Control" only the unit's, like a Relative
// To click.
Family FamilyOf(int id) {
    if (id >= IDC_CENTER_HORZ && id <= IDC_STRETCH)
        return ActionFamily;
    if (id >= IDC_ACTON_LEFT && id <= IDC_ACTON_HEIGHT)
        return ActOnFamily;
    if (id == IDC_ACTON_CONTROL || (id >= IDC_RELTO_LEFT && id <= IDC_RELTO_CONTROL))
        return RelativeToFamily;
    return UnitFamily;
}

bool InRange(int id, int first, int last) {
    return id >= first && id <= last;
}

// What the step lists require of the order of any click's messages, whatever
// the rule: every update begins by reading the Action from the top; a button
// is disabled before it is unchecked; Percent is handled before Offset; and a
// click reaches no column left of the ones its updates derive. Empty when all
// hold.
std::string OrderProblems(const std::vector<ButtonMessage>& messages, int clicked) {
    std::string problems;
    Family family = FamilyOf(clicked);
    if (family == UnitFamily)
        return messages.empty() ? "" : "a unit click sent messages to option buttons\n";
    if (messages.empty() || messages[0].message != BM_GETCHECK || messages[0].id != IDC_CENTER_HORZ)
        problems += "the updates do not begin by reading Center(Horz)\n";
    bool unitSeen = false;
    for (size_t i = 0; i < messages.size(); ++i) {
        const ButtonMessage& one = messages[i];
        if (one.message == WM_CANCELMODE) {
            size_t next = i + 1;
            if (next < messages.size() && messages[next].message == WM_ENABLE &&
                messages[next].id == one.id)
                ++next;
            if (next >= messages.size() || messages[next].message != BM_SETCHECK ||
                messages[next].id != one.id || messages[next].wParam != BST_UNCHECKED)
                problems += NameOf(one.id) + " is disabled without being unchecked next\n";
        }
        if (one.message == BM_GETCHECK)
            continue;
        bool isUnit = InRange(one.id, IDC_OFFSET, IDC_PERCENT);
        if (isUnit && !unitSeen && one.id != IDC_PERCENT)
            problems += "the unit update handles Offset before Percent\n";
        unitSeen = unitSeen || isUnit;
        if (InRange(one.id, IDC_CENTER_HORZ, IDC_STRETCH))
            problems += "the updates changed the Action " + NameOf(one.id) + "\n";
        if (family != ActionFamily && InRange(one.id, IDC_ACTON_LEFT, IDC_ACTON_CONTROL))
            problems += "an Act On or Relative To click changed " + NameOf(one.id) + "\n";
        if (family == RelativeToFamily && InRange(one.id, IDC_RELTO_LEFT, IDC_RELTO_CONTROL))
            problems += "a Relative To click changed " + NameOf(one.id) + "\n";
    }
    return problems;
}

// A path of clicks from start-up, as "start-up, Move, Act On Top".
std::string PathText(const std::vector<int>& clicks) {
    std::string text = "start-up";
    for (int id : clicks)
        text += ", " + NameOf(id);
    return text;
}

RuleModel ModelAfter(const std::vector<int>& clicks) {
    RuleModel model = RuleModel::Started();
    for (int id : clicks)
        EXPECT_TRUE(model.Click(Option(id))) << "the path clicks the disabled " << NameOf(id);
    return model;
}

struct ClickRow {
    int button;
    const char* state;
};

struct Scenario {
    const char* name;
    std::vector<ClickRow> clicks;
};

class RuleWindow : public MainWindowTest {
  protected:
    void Click(int id) {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
    }

    std::string State() const {
        return Describe(Form());
    }

    // Clicks and gives back what the window's handling of the click's command
    // sent, one level deep.
    std::vector<SentMessage> ClickAndRecord(int id) {
        MessageRecorder recorder(window);
        Click(id);
        EXPECT_TRUE(recorder.Received(window, WM_COMMAND)) << NameOf(id) << " sent no command";
        return recorder.SentWhileHandling(window, WM_COMMAND);
    }

    // Each click gives the state of its row, on the form and in the model.
    void Play(const Scenario& scenario) {
        SCOPED_TRACE(scenario.name);
        RuleModel model = RuleModel::Started();
        for (size_t i = 0; i < scenario.clicks.size(); ++i) {
            const ClickRow& row = scenario.clicks[i];
            SCOPED_TRACE("click " + std::to_string(i + 1) + ", on " + NameOf(row.button));
            Click(row.button);
            model.Click(Option(row.button));
            EXPECT_EQ(State(), row.state);
            EXPECT_EQ(Describe(model.State()), row.state) << "the model disagrees";
        }
    }

    // Clicks "Center(Horz)", which brings back the state after start-up, then
    // the path; false, with a failure, when the form does not match the model.
    bool Reach(const std::vector<int>& path) {
        Click(IDC_CENTER_HORZ);
        for (int id : path)
            Click(id);
        EXPECT_EQ(Form(), ModelAfter(path).State()) << "replaying " << PathText(path);
        return Form() == ModelAfter(path).State();
    }
};

class CreatedRuleWindow : public RuleWindow {
  protected:
    CreatedRuleWindow() {
        started = false;
    }

    void UncheckAll() {
        for (int option = 0; option < kOptionCount; ++option)
            SendMessageW(Item(OptionControlId(option)), BM_SETCHECK, BST_UNCHECKED, 0);
    }

    // Checks several buttons of a column at once. Wine unchecks the other
    // enabled automatic radio buttons of the group on BM_SETCHECK, so each
    // button stays disabled while the next is checked.
    void CheckTogether(const std::vector<int>& ids) {
        for (int id : ids) {
            SendMessageW(Item(id), BM_SETCHECK, BST_CHECKED, 0);
            EnableWindow(Item(id), FALSE);
        }
        for (int id : ids)
            EnableWindow(Item(id), TRUE);
    }
};

// The shortest series of clicks on enabled buttons that, as the model
// foresees them, lead from the model's state to a state not met yet, or to one
// with a button still unclicked and then click it; empty when none is left.
std::vector<int> RouteToUnclicked(const RuleModel& from,
                                  const std::map<std::string, std::set<int>>& unclicked) {
    for (const ReachedState& state : ReachableFrom({{from, {}}})) {
        auto left = unclicked.find(Describe(state.rules.State()));
        if (left != unclicked.end() && left->second.empty())
            continue;
        std::vector<int> route;
        for (int option : state.clicks)
            route.push_back(OptionControlId(option));
        if (left != unclicked.end())
            route.push_back(*left->second.rbegin());
        return route;
    }
    return {};
}

} // namespace

TEST_F(RuleWindow, StartUpClickLeavesCenterHorzWithControlControlOffset) {
    EXPECT_EQ(State(), kStartedState);
    EXPECT_EQ(Describe(RuleModel::Started().State()), kStartedState);
    EXPECT_EQ(RuleOf(Form()), "Center(Horz)/Control/Control/Offset");
}

TEST_F(RuleWindow, ChangingTheActionStartsActOnAndRelativeToAfresh) {
    const Scenario scenarios[] = {
        {"Move gives Left, Left and Offset", {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"}}},
        {"clicking Move again forgets Bottom and Height",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"},
          {IDC_RELTO_HEIGHT, "oo*o ooo*--- -o-oo*- -*"},
          {IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"}}},
        {"Move to Stretch carries nothing over",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"},
          {IDC_RELTO_HEIGHT, "oo*o ooo*--- -o-oo*- -*"},
          {IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"}}},
        {"clicking Stretch again forgets Height and Width",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_HEIGHT, "ooo* ooooo*- ----*o- -*"},
          {IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"}}},
        {"Stretch to Move drops Act On Width",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"}}},
        {"Stretch with Relative To Width to Center(Vert)",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_RELTO_WIDTH, "ooo* *ooooo- o-o-*o- -*"},
          {IDC_CENTER_VERT, "o*oo ------* ------* *-"}}},
        {"a centring Action gives Control, Control and Offset again",
         {{IDC_CENTER_HORZ, kStartedState},
          {IDC_CENTER_HORZ, kStartedState},
          {IDC_CENTER_VERT, "o*oo ------* ------* *-"},
          {IDC_CENTER_VERT, "o*oo ------* ------* *-"},
          {IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_HEIGHT, "oo*o *ooo--- o-o-o*- -*"},
          {IDC_CENTER_HORZ, kStartedState}}},
    };
    for (const Scenario& scenario : scenarios) {
        Click(IDC_CENTER_HORZ);
        Play(scenario);
    }
}

TEST_F(RuleWindow, ActOnNarrowsRelativeToAndKeepsAChoiceThatStaysValid) {
    const Scenario scenarios[] = {
        {"Stretch, Act On Width, then Left, then Relative To Right",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_ACTON_LEFT, "ooo* *ooooo- o-o-*o- -*"},
          {IDC_RELTO_RIGHT, "ooo* *ooooo- o-*-oo- *-"}}},
        {"Move, Left, Right, then Act On Top",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_RIGHT, "oo*o *ooo--- o-*-oo- *-"},
          {IDC_ACTON_TOP, "oo*o o*oo--- -*-ooo- *-"}}},
        {"Stretch, Width, Height, then Act On Right",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_RELTO_HEIGHT, "ooo* oooo*o- ----o*- -*"},
          {IDC_ACTON_RIGHT, "ooo* oo*ooo- o-o-o*- -*"}}},
        {"an edge of the same axis survives a change of Act On",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_RIGHT, "oo*o *ooo--- o-*-oo- *-"},
          {IDC_ACTON_RIGHT, "oo*o oo*o--- o-*-oo- *-"},
          {IDC_ACTON_LEFT, "oo*o *ooo--- o-*-oo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"},
          {IDC_RELTO_BOTTOM, "oo*o ooo*--- -o-*oo- *-"},
          {IDC_ACTON_TOP, "oo*o o*oo--- -o-*oo- *-"}}},
        {"Relative To Width survives a change of axis",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_WIDTH, "oo*o *ooo--- o-o-*o- -*"},
          {IDC_ACTON_TOP, "oo*o o*oo--- -o-o*o- -*"},
          {IDC_ACTON_RIGHT, "oo*o oo*o--- o-o-*o- -*"}}},
        {"Act On Height defaults to Relative To Width, and a size survives",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_HEIGHT, "ooo* ooooo*- ----*o- -*"},
          {IDC_RELTO_HEIGHT, "ooo* ooooo*- ----o*- -*"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----o*- -*"},
          {IDC_ACTON_BOTTOM, "ooo* ooo*oo- -o-oo*- -*"}}},
        {"clicking the checked Act On again changes nothing",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_LEFT, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"}}},
    };
    for (const Scenario& scenario : scenarios) {
        Click(IDC_CENTER_HORZ);
        Play(scenario);
    }
}

TEST_F(RuleWindow, RelativeToSetsTheUnitAndUnitClicksChangeNothingElse) {
    const Scenario scenarios[] = {
        {"a size gives Percent, an edge Offset",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_WIDTH, "oo*o *ooo--- o-o-*o- -*"},
          {IDC_RELTO_LEFT, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_HEIGHT, "oo*o *ooo--- o-o-o*- -*"},
          {IDC_RELTO_RIGHT, "oo*o *ooo--- o-*-oo- *-"},
          {IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_TOP, "ooo* o*oooo- -*-ooo- *-"},
          {IDC_RELTO_HEIGHT, "ooo* o*oooo- -o-oo*- -*"},
          {IDC_RELTO_BOTTOM, "ooo* o*oooo- -o-*oo- *-"}}},
        {"under a centring Action the Control buttons change nothing visible",
         {{IDC_CENTER_HORZ, kStartedState},
          {IDC_ACTON_CONTROL, kStartedState},
          {IDC_RELTO_CONTROL, kStartedState},
          {IDC_OFFSET, kStartedState},
          {IDC_CENTER_VERT, "o*oo ------* ------* *-"},
          {IDC_ACTON_CONTROL, "o*oo ------* ------* *-"}}},
        {"the one enabled unit, clicked, stays as it is",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_OFFSET, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_WIDTH, "oo*o *ooo--- o-o-*o- -*"},
          {IDC_PERCENT, "oo*o *ooo--- o-o-*o- -*"}}},
    };
    for (const Scenario& scenario : scenarios) {
        Click(IDC_CENTER_HORZ);
        Play(scenario);
    }
}

TEST_F(CreatedRuleWindow, OffsetAndPercentClicksMoveOnlyTheirOwnCheck) {
    RuleModel model;
    ASSERT_EQ(State(), "oooo ooooooo ooooooo oo");
    ASSERT_EQ(Form(), model.State());
    // Before any Action click every button stays enabled.
    for (int id : {IDC_OFFSET, IDC_PERCENT}) {
        SCOPED_TRACE(NameOf(id));
        Click(id);
        model.Click(Option(id));
        EXPECT_EQ(Form(), model.State());
    }
    EXPECT_EQ(State(), "oooo ooooooo ooooooo o*");
}

TEST_F(CreatedRuleWindow, ReadersGiveStretchLeftLeftUntilSomethingIsChecked) {
    EXPECT_EQ(State(), "oooo ooooooo ooooooo oo");
    EXPECT_EQ(GetSelectedAction(window), Stretch);
    EXPECT_EQ(GetSelectedActOn(window), Left);
    EXPECT_EQ(GetSelectedRelativeTo(window), Left);

    // Each reader asks its column top to bottom and stops at the first check.
    struct Reading {
        const char* name;
        std::vector<int> checked;
        std::function<int()> read;
        int code;
        std::vector<int> asked;
    };
    const Reading readings[] = {
        {"empty Action column",
         {},
         [&] { return (int)GetSelectedAction(window); },
         Stretch,
         {IDC_CENTER_HORZ, IDC_CENTER_VERT, IDC_MOVE, IDC_STRETCH}},
        {"Act On Top",
         {IDC_ACTON_TOP},
         [&] { return (int)GetSelectedActOn(window); },
         Top,
         {IDC_ACTON_LEFT, IDC_ACTON_TOP}},
        {"Relative To Control",
         {IDC_RELTO_CONTROL},
         [&] { return (int)GetSelectedRelativeTo(window); },
         Control,
         {IDC_RELTO_LEFT, IDC_RELTO_TOP, IDC_RELTO_RIGHT, IDC_RELTO_BOTTOM, IDC_RELTO_WIDTH,
          IDC_RELTO_HEIGHT, IDC_RELTO_CONTROL}},
    };
    for (const Reading& reading : readings) {
        SCOPED_TRACE(reading.name);
        UncheckAll();
        for (int id : reading.checked)
            SendMessageW(Item(id), BM_SETCHECK, BST_CHECKED, 0);
        std::string before = State();
        MessageRecorder recorder(window);
        EXPECT_EQ(reading.read(), reading.code);
        std::vector<int> asked;
        for (const SentMessage& sent : recorder.Messages()) {
            if (sent.depth == 0)
                asked.push_back(GetDlgCtrlID(sent.target));
            EXPECT_EQ(sent.message, (UINT)BM_GETCHECK);
        }
        EXPECT_EQ(asked, reading.asked);
        EXPECT_EQ(State(), before) << "reading changed the form";
    }
}

TEST_F(CreatedRuleWindow, ReadersTakeTheCheckedButtonWithTheLowestIdentifier) {
    struct Row {
        std::vector<int> checked;
        RuleAction action;
        RulePart actOn;
        RulePart relativeTo;
    };
    const Row rows[] = {
        {{IDC_CENTER_HORZ}, CenterHorz, Left, Left},
        {{IDC_CENTER_VERT}, CenterVert, Left, Left},
        {{IDC_MOVE}, Move, Left, Left},
        {{IDC_STRETCH}, Stretch, Left, Left},
        {{IDC_ACTON_TOP, IDC_RELTO_RIGHT}, Stretch, Top, Right},
        {{IDC_ACTON_RIGHT, IDC_RELTO_BOTTOM}, Stretch, Right, Bottom},
        {{IDC_ACTON_BOTTOM, IDC_RELTO_WIDTH}, Stretch, Bottom, Width},
        {{IDC_ACTON_WIDTH, IDC_RELTO_HEIGHT}, Stretch, Width, Height},
        {{IDC_ACTON_HEIGHT, IDC_RELTO_CONTROL}, Stretch, Height, Control},
        {{IDC_ACTON_CONTROL, IDC_RELTO_TOP}, Stretch, Control, Top},
        {{IDC_ACTON_LEFT, IDC_RELTO_LEFT}, Stretch, Left, Left},
        // Two in one column: the codes of the Action run backwards, so the
        // upper button wins with the higher code.
        {{IDC_MOVE, IDC_CENTER_HORZ}, CenterHorz, Left, Left},
        {{IDC_STRETCH, IDC_CENTER_VERT}, CenterVert, Left, Left},
        {{IDC_STRETCH, IDC_MOVE}, Move, Left, Left},
        {{IDC_ACTON_HEIGHT, IDC_ACTON_RIGHT}, Stretch, Right, Left},
        {{IDC_ACTON_CONTROL, IDC_ACTON_WIDTH}, Stretch, Width, Left},
        {{IDC_RELTO_CONTROL, IDC_RELTO_TOP}, Stretch, Left, Top},
        {{IDC_RELTO_HEIGHT, IDC_RELTO_BOTTOM, IDC_RELTO_WIDTH}, Stretch, Left, Bottom},
    };
    for (const Row& row : rows) {
        std::string names;
        for (int id : row.checked)
            names += NameOf(id) + " ";
        SCOPED_TRACE("checked: " + names);
        UncheckAll();
        CheckTogether(row.checked);
        for (int id : row.checked)
            ASSERT_EQ(SendMessageW(Item(id), BM_GETCHECK, 0, 0), BST_CHECKED)
                << NameOf(id) << " lost its check";
        EXPECT_EQ(GetSelectedAction(window), row.action);
        EXPECT_EQ(GetSelectedActOn(window), row.actOn);
        EXPECT_EQ(GetSelectedRelativeTo(window), row.relativeTo);
    }
}

TEST_F(RuleWindow, EachFamilyOfClicksTakesItsStepsInTheirOrder) {
    // One click per family, and one Act On click per row of the Relative To
    // table, step by step as the rule updates take them.
    struct Sequence {
        const char* name;
        std::vector<int> setup;
        int button;
        std::vector<std::string> steps;
    };
    const Sequence sequences[] = {
        {"Move from start-up: the parts reset, defaults, narrowing, unit",
         {},
         IDC_MOVE,
         {// ResetPartOptions: the Action, then each part button made available
          // or not and then unchecked, the Act On column before Relative To.
          "read Center(Horz)", "read Center(Vert)", "read Move", "enable Act On Left",
          "uncheck Act On Left", "enable Act On Top", "uncheck Act On Top", "enable Act On Right",
          "uncheck Act On Right", "enable Act On Bottom", "uncheck Act On Bottom",
          "keep Act On Width disabled", "uncheck Act On Width", "keep Act On Height disabled",
          "uncheck Act On Height", "disable Act On Control", "uncheck Act On Control",
          "enable Relative To Left", "uncheck Relative To Left", "enable Relative To Top",
          "uncheck Relative To Top", "enable Relative To Right", "uncheck Relative To Right",
          "enable Relative To Bottom", "uncheck Relative To Bottom", "enable Relative To Width",
          "uncheck Relative To Width", "enable Relative To Height", "uncheck Relative To Height",
          "disable Relative To Control", "uncheck Relative To Control",
          // UpdateForAction: the Action read again; Act On Left once the four
          // edges are free.
          "read Center(Horz)", "read Center(Vert)", "read Move", "read Act On Left",
          "read Act On Top", "read Act On Right", "read Act On Bottom", "check Act On Left",
          // UpdateForActOn: Relative To Left and Right are enabled already, so
          // only Top and Bottom show; then Left once six are free.
          "read Center(Horz)", "read Center(Vert)", "read Move", "read Act On Left",
          "disable Relative To Top", "uncheck Relative To Top", "disable Relative To Bottom",
          "uncheck Relative To Bottom", "read Relative To Left", "read Relative To Top",
          "read Relative To Right", "read Relative To Bottom", "read Relative To Width",
          "read Relative To Height", "check Relative To Left",
          // UpdateUnitOption: Percent before Offset.
          "read Center(Horz)", "read Center(Vert)", "read Move", "read Relative To Left",
          "keep Percent disabled", "uncheck Percent", "check Offset"}},
        {"Act On Right under Move: Left and Right kept, no default",
         {IDC_MOVE},
         IDC_ACTON_RIGHT,
         {// UpdateForActOn: no reset of the Act On column, it starts by reading.
          "read Center(Horz)", "read Center(Vert)", "read Move", "read Act On Left",
          "read Act On Top", "read Act On Right",
          // Left and Right are enabled already; Top and Bottom are disabled
          // (again) before being unchecked.
          "keep Relative To Top disabled", "uncheck Relative To Top",
          "keep Relative To Bottom disabled", "uncheck Relative To Bottom",
          // Relative To Left is still checked: no default.
          "read Relative To Left",
          // UpdateUnitOption.
          "read Center(Horz)", "read Center(Vert)", "read Move", "read Relative To Left",
          "keep Percent disabled", "uncheck Percent", "check Offset"}},
        {"Act On Top under Move with Relative To Right: Right lost, Top the default",
         {IDC_MOVE, IDC_RELTO_RIGHT},
         IDC_ACTON_TOP,
         {"read Center(Horz)", "read Center(Vert)", "read Move", "read Act On Left",
          "read Act On Top",
          // Left, Top, Right, Bottom in that order, each disabled or enabled.
          "disable Relative To Left", "uncheck Relative To Left", "enable Relative To Top",
          "disable Relative To Right", "uncheck Relative To Right", "enable Relative To Bottom",
          // All six free: Top.
          "read Relative To Left", "read Relative To Top", "read Relative To Right",
          "read Relative To Bottom", "read Relative To Width", "read Relative To Height",
          "check Relative To Top", "read Center(Horz)", "read Center(Vert)", "read Move",
          "read Relative To Left", "read Relative To Top", "keep Percent disabled",
          "uncheck Percent", "check Offset"}},
        {"Act On Width under Stretch: every edge disabled, Width the default, Percent",
         {IDC_STRETCH},
         IDC_ACTON_WIDTH,
         {"read Center(Horz)", "read Center(Vert)", "read Move", "read Stretch", "read Act On Left",
          "read Act On Top", "read Act On Right", "read Act On Bottom", "read Act On Width",
          // The four edges, in order; only Width and Height count for the default.
          "disable Relative To Left", "uncheck Relative To Left", "keep Relative To Top disabled",
          "uncheck Relative To Top", "disable Relative To Right", "uncheck Relative To Right",
          "keep Relative To Bottom disabled", "uncheck Relative To Bottom",
          "read Relative To Width", "read Relative To Height", "check Relative To Width",
          // Percent enabled and checked, then Offset disabled and unchecked.
          "read Center(Horz)", "read Center(Vert)", "read Move", "read Stretch",
          "read Relative To Left", "read Relative To Top", "read Relative To Right",
          "read Relative To Bottom", "read Relative To Width", "enable Percent", "check Percent",
          "disable Offset", "uncheck Offset"}},
        {"Relative To Width under Move: only the unit",
         {IDC_MOVE},
         IDC_RELTO_WIDTH,
         {"read Center(Horz)", "read Center(Vert)", "read Move", "read Relative To Left",
          "read Relative To Top", "read Relative To Right", "read Relative To Bottom",
          "read Relative To Width", "enable Percent", "check Percent", "disable Offset",
          "uncheck Offset"}},
        {"Act On Control under a centring Action: only the unit",
         {},
         IDC_ACTON_CONTROL,
         {"read Center(Horz)", "keep Percent disabled", "uncheck Percent", "check Offset"}},
        {"Offset: nothing", {}, IDC_OFFSET, {}},
        {"Percent in a Percent rule: nothing", {IDC_MOVE, IDC_RELTO_WIDTH}, IDC_PERCENT, {}},
    };
    for (const Sequence& sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        ASSERT_TRUE(Reach(sequence.setup));
        EXPECT_EQ(Lines(ButtonSteps(ClickAndRecord(sequence.button))), Lines(sequence.steps));
        RuleModel expected = ModelAfter(sequence.setup);
        expected.Click(Option(sequence.button));
        EXPECT_EQ(Form(), expected.State());
    }
}

TEST_F(RuleWindow, EveryFamilyOfClicksKeepsToTheTablesAndToTheOrderOfSteps) {
    // Clicks of each family from rules of each kind: the form ends as the
    // model has it, and the messages keep the order that the step lists give.
    struct Row {
        std::vector<int> setup;
        int button;
    };
    const Row rows[] = {
        // Action clicks.
        {{}, IDC_CENTER_HORZ},
        {{}, IDC_CENTER_VERT},
        {{}, IDC_STRETCH},
        {{IDC_MOVE}, IDC_MOVE},
        {{IDC_MOVE, IDC_ACTON_BOTTOM, IDC_RELTO_HEIGHT}, IDC_MOVE},
        {{IDC_MOVE, IDC_ACTON_BOTTOM, IDC_RELTO_HEIGHT}, IDC_STRETCH},
        {{IDC_MOVE, IDC_ACTON_TOP, IDC_RELTO_BOTTOM}, IDC_CENTER_HORZ},
        {{IDC_STRETCH, IDC_ACTON_WIDTH}, IDC_MOVE},
        {{IDC_STRETCH, IDC_ACTON_HEIGHT, IDC_RELTO_HEIGHT}, IDC_STRETCH},
        {{IDC_STRETCH, IDC_RELTO_WIDTH}, IDC_CENTER_VERT},
        {{IDC_CENTER_VERT}, IDC_CENTER_VERT},
        {{IDC_CENTER_VERT}, IDC_MOVE},
        // Act On clicks under both Actions that allow a choice.
        {{IDC_MOVE}, IDC_ACTON_LEFT},
        {{IDC_MOVE, IDC_RELTO_RIGHT}, IDC_ACTON_TOP},
        {{IDC_MOVE, IDC_RELTO_WIDTH}, IDC_ACTON_BOTTOM},
        {{IDC_MOVE, IDC_ACTON_TOP, IDC_RELTO_BOTTOM}, IDC_ACTON_RIGHT},
        {{IDC_STRETCH}, IDC_ACTON_WIDTH},
        {{IDC_STRETCH, IDC_ACTON_WIDTH}, IDC_ACTON_LEFT},
        {{IDC_STRETCH, IDC_ACTON_WIDTH, IDC_RELTO_HEIGHT}, IDC_ACTON_RIGHT},
        {{IDC_STRETCH, IDC_ACTON_BOTTOM}, IDC_ACTON_HEIGHT},
        {{IDC_STRETCH, IDC_ACTON_HEIGHT}, IDC_ACTON_TOP},
        {{IDC_STRETCH, IDC_ACTON_HEIGHT}, IDC_ACTON_HEIGHT},
        // Relative To clicks, and Act On Control, which runs what they run.
        {{IDC_MOVE}, IDC_RELTO_LEFT},
        {{IDC_MOVE}, IDC_RELTO_RIGHT},
        {{IDC_MOVE, IDC_RELTO_RIGHT}, IDC_RELTO_HEIGHT},
        {{IDC_MOVE, IDC_RELTO_HEIGHT}, IDC_RELTO_LEFT},
        {{IDC_STRETCH, IDC_ACTON_TOP}, IDC_RELTO_BOTTOM},
        {{IDC_STRETCH, IDC_ACTON_TOP}, IDC_RELTO_TOP},
        {{IDC_STRETCH, IDC_ACTON_WIDTH}, IDC_RELTO_HEIGHT},
        {{IDC_STRETCH, IDC_ACTON_WIDTH}, IDC_RELTO_WIDTH},
        {{IDC_CENTER_VERT}, IDC_RELTO_CONTROL},
        {{IDC_CENTER_VERT}, IDC_ACTON_CONTROL},
        // Unit clicks.
        {{IDC_MOVE}, IDC_OFFSET},
        {{IDC_STRETCH, IDC_ACTON_HEIGHT}, IDC_PERCENT},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(PathText(row.setup) + ", then " + NameOf(row.button));
        ASSERT_TRUE(Reach(row.setup));
        std::vector<SentMessage> sent = ClickAndRecord(row.button);
        EXPECT_EQ(OrderProblems(ButtonMessages(sent), row.button), "");
        RuleModel expected = ModelAfter(row.setup);
        expected.Click(Option(row.button));
        EXPECT_EQ(Form(), expected.State());
    }
}

TEST_F(RuleWindow, OnlyAClickNotificationRunsTheUpdates) {
    // Commands sent straight to the window, on Move, Left, Width, Percent. A
    // double-click notification is no click. BN_CLICKED from a radio button
    // that holds the focus unchecked reports the focus, not a choice: Windows
    // and newer Wine send it when such a button is focused. From a button
    // without the focus, BN_CLICKED runs its family's updates on the checks as
    // they stand: the click of the column's checked button.
    const std::vector<int> setup = {IDC_MOVE, IDC_RELTO_WIDTH};
    struct Row {
        int sender;
        WORD code;
        bool focused;
        int actsAsClickOn; // 0: runs nothing
    };
    const Row rows[] = {
        {IDC_MOVE, BN_DOUBLECLICKED, false, 0},
        {IDC_MOVE, BN_CLICKED, false, IDC_MOVE},
        {IDC_MOVE, BN_CLICKED, true, IDC_MOVE},
        {IDC_STRETCH, BN_CLICKED, true, 0},
        {IDC_STRETCH, BN_CLICKED, false, IDC_MOVE},
        {IDC_ACTON_TOP, BN_CLICKED, true, 0},
        {IDC_ACTON_TOP, BN_CLICKED, false, IDC_ACTON_LEFT},
        {IDC_RELTO_LEFT, BN_CLICKED, true, 0},
        {IDC_RELTO_LEFT, BN_CLICKED, false, IDC_RELTO_WIDTH},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(NameOf(row.sender) + (row.focused ? " focused" : " not focused") +
                     ", notification " + std::to_string(row.code));
        ASSERT_TRUE(Reach(setup));
        RuleModel expected = ModelAfter(setup);
        // Focusing an unchecked button makes the platform report the focus or
        // not, depending on its version; either way the rule stays.
        SetFocus(Item(row.focused ? row.sender : IDC_CLOSE));
        ASSERT_EQ(FocusedId(), row.focused ? row.sender : IDC_CLOSE);
        ASSERT_EQ(Form(), expected.State()) << "moving the focus changed the form";
        MessageRecorder recorder(window);
        LRESULT answer = SendMessageW(window, WM_COMMAND, MAKEWPARAM(row.sender, row.code),
                                      (LPARAM)Item(row.sender));
        EXPECT_EQ(answer, 0) << "the answer to a command";
        ASSERT_TRUE(recorder.Received(window, WM_COMMAND));
        std::vector<ButtonMessage> sent =
            ButtonMessages(recorder.SentWhileHandling(window, WM_COMMAND));
        if (row.actsAsClickOn) {
            expected.Click(Option(row.actsAsClickOn));
            EXPECT_EQ(OrderProblems(sent, row.actsAsClickOn), "");
            EXPECT_FALSE(sent.empty());
        } else {
            EXPECT_TRUE(sent.empty()) << sent.size() << " messages to option buttons";
        }
        EXPECT_EQ(Form(), expected.State());
    }
}

TEST_F(RuleWindow, EveryEnabledChoiceOfEveryReachableRuleKeepsToTheTables) {
    // A walk that clicks each enabled Act On, Relative To and unit button of
    // each state it meets, going to the nearest state with buttons left by
    // the clicks the model foresees. Action clicks, which lead from any rule
    // to the same four, are made on the way. Every click is checked against
    // the model, the listed rules and the order of steps.
    RuleModel model = RuleModel::Started();
    FormState shown = Form();
    std::map<std::string, std::set<int>> unclicked;
    std::set<std::string> rules;
    auto meet = [&](const FormState& met) {
        std::string state = Describe(met);
        if (unclicked.count(state))
            return;
        for (int option = 0; option < kOptionCount; ++option) {
            if (met[option].enabled && ColumnOf(option) != ActionColumn)
                unclicked[state].insert(OptionControlId(option));
        }
        unclicked[state];
    };
    MessageRecorder recorder(window);
    auto clickAndCheck = [&](int id) {
        SCOPED_TRACE("from " + RuleOf(shown) + ", clicking " + NameOf(id));
        unclicked[Describe(shown)].erase(id);
        model.Click(Option(id));
        recorder.Clear();
        Click(id);
        EXPECT_TRUE(recorder.Received(window, WM_COMMAND));
        EXPECT_EQ(OrderProblems(ButtonMessages(recorder.SentWhileHandling(window, WM_COMMAND)), id),
                  "");
        shown = Form();
        EXPECT_EQ(shown, model.State());
        EXPECT_EQ(RuleProblems(shown), "");
        rules.insert(RuleOf(shown));
        meet(shown);
        return !HasFailure();
    };

    EXPECT_EQ(RuleProblems(shown), "");
    rules.insert(RuleOf(shown));
    meet(shown);
    for (bool going = true; going;) {
        std::vector<int> route = RouteToUnclicked(model, unclicked);
        going = !route.empty();
        for (size_t i = 0; going && i < route.size(); ++i)
            going = clickAndCheck(route[i]);
    }
    for (const auto& state : unclicked) {
        for (int id : state.second)
            ADD_FAILURE() << "never clicked " << NameOf(id) << " in " << state.first;
    }
    // Every rule the table allows is reached, choice by choice, and no other.
    EXPECT_EQ(rules, AllowedRules());
    EXPECT_EQ(rules.size(), 38u);
}
