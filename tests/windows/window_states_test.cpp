// The four data windows' button rules, state by state. The windows only apply these; their own tests walk
// the states once to show they do.
#include "admin/bird_rules.h"
#include "admin/club_rules.h"
#include "admin/flyer_rules.h"
#include "admin/liberation_rules.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace {
QString on(std::initializer_list<std::pair<bool, const char*>> controls)
{
    QStringList names;
    for (const auto& [enabled, name] : controls)
        if (enabled)
            names << QString::fromLatin1(name);
    return names.join(' ');
}

// The name of a field of the state's Controls, when that control is enabled.
#define ON(field) std::pair<bool, const char*>(c.field, #field)

// Each state's controls (controlsFor of the state's own window) shown as the names of the enabled ones.
template <typename State, std::size_t N, typename Show>
void expectStates(const std::pair<State, QString> (&cases)[N], Show show)
{
    for (const auto& [state, expected] : cases)
        EXPECT_EQ(show(controlsFor(state)), expected) << static_cast<int>(state.mode);
}

TEST(WindowStates, Birds)
{
    using bird::Mode;
    // {mode, flyer chosen, flyer has birds, bird shown, fields complete}
    const std::pair<bird::WindowState, QString> cases[] = {
        {{Mode::Browse, false, false, false, false}, "end receive search"},
        {{Mode::Browse, true, false, false, false}, "add end receive flyerList search"},
        {{Mode::Browse, true, true, false, false}, "add end send receive flyerList birdList search"},
        {{Mode::Browse, true, true, true, false},
         "add edit erase end send receive flyerList birdList search"},
        {{Mode::Adding, true, true, true, false}, "cancel fields"},
        {{Mode::Adding, true, false, false, true}, "save cancel fields"},
        {{Mode::Editing, true, true, true, true}, "save cancel fields"},
    };
    expectStates(cases, [](const bird::Controls& c) {
        return on({ON(add), ON(edit), ON(save), ON(cancel), ON(erase), ON(end), ON(fields), ON(send),
                   ON(receive), ON(flyerList), ON(birdList), ON(search)});
    });
}

TEST(WindowStates, Clubs)
{
    using club::Mode;
    // {mode, has clubs, club shown}; only an edit keeps the search box.
    const std::pair<club::WindowState, QString> cases[] = {
        {{Mode::Browse, false, false}, "add end search"},
        {{Mode::Browse, true, false}, "add end search list"},
        {{Mode::Browse, true, true}, "add edit end search list"},
        {{Mode::Adding, true, true}, "save cancel name"},
        {{Mode::Editing, true, true}, "save cancel name search"},
    };
    expectStates(cases, [](const club::Controls& c) {
        return on({ON(add), ON(edit), ON(save), ON(cancel), ON(end), ON(name), ON(id), ON(search), ON(list)});
    });
}

TEST(WindowStates, Flyers)
{
    using flyer::Mode;
    // {mode, has flyers, flyer shown, clubs exist}; the club choice's caption last
    const std::pair<flyer::WindowState, QString> cases[] = {
        {{Mode::Browse, false, false, true}, "add end search Club"},
        {{Mode::Browse, true, false, true}, "add end search list Club"},
        {{Mode::Browse, true, true, true}, "add edit erase end search list Club"},
        {{Mode::Adding, true, true, true}, "save cancel boxes clubChoice Choose Club"},
        {{Mode::Editing, true, true, false}, "save cancel boxes Choose Club"},
    };
    expectStates(cases, [](const flyer::Controls& c) {
        return on({ON(add), ON(edit), ON(save), ON(cancel), ON(erase), ON(end), ON(boxes), ON(clubChoice),
                   ON(search), ON(list)}) +
               ' ' + c.clubCaption;
    });
}

TEST(WindowStates, Liberations)
{
    using liberation::Mode;
    // {mode, has races, race shown, fields complete}
    const std::pair<liberation::WindowState, QString> cases[] = {
        {{Mode::Browse, false, false, false}, "add end"},
        {{Mode::Browse, true, false, false}, "add end send list"},
        {{Mode::Browse, true, true, false}, "add edit erase end send list"},
        {{Mode::Adding, true, true, false}, "cancel boxes"},
        {{Mode::Editing, true, true, true}, "save cancel boxes"},
    };
    expectStates(cases, [](const liberation::Controls& c) {
        return on(
            {ON(add), ON(edit), ON(save), ON(cancel), ON(erase), ON(end), ON(send), ON(boxes), ON(list)});
    });
}
} // namespace
