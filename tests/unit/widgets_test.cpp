#include <gtest/gtest.h>

#include "base/date_time.h"
#include "platform/virtual_event_loop.h"
#include "widgets/button.h"
#include "widgets/combo_box.h"
#include "widgets/label.h"
#include "widgets/list_box.h"
#include "widgets/menu_item.h"
#include "widgets/radio_button.h"
#include "widgets/spin_box.h"
#include "widgets/text_field.h"
#include "widgets/tick_box.h"
#include "widgets/timer.h"
#include "widgets/window.h"

namespace tintal {
namespace {

TEST(Widgets, HandlersFireOnChangeOnly) {
    int clicks = 0, changes = 0, renders = 0;
    TickBox box("CheckBoxDate", "Date", true);
    box.onClick = [&] { ++clicks; };
    box.setRenderer([&] { ++renders; });
    box.setChecked(true);
    EXPECT_EQ(clicks, 0);
    box.setChecked(false);
    box.setChecked(false);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(renders, 1);

    TextField field("EditData");
    field.onChange = [&] { ++changes; };
    field.setText("TINTAL_PLAY");
    field.setText("TINTAL_PLAY");
    field.setText("");
    EXPECT_EQ(changes, 2);

    SpinBox spin("SpinEditPause", 0, 15, 0);
    int spins = 0;
    spin.onChange = [&] { ++spins; };
    spin.setValue(40);
    EXPECT_EQ(spin.value(), 15);
    spin.setValue(15);
    spin.setValue(-3);
    EXPECT_EQ(spin.value(), 0);
    EXPECT_EQ(spins, 2);
}

TEST(Widgets, RadioButtonsOfAGroupExcludeEachOther) {
    RadioButton::Group group;
    RadioButton a(group, "RadioButtonCarteWin", "Laisser Windows choisir la carte Son", true);
    RadioButton b(group, "RadioButtonCarteMoi", "Je choisis ma carte Son");
    int aClicks = 0, bClicks = 0;
    a.onClick = [&] { ++aClicks; };
    b.onClick = [&] { ++bClicks; };
    b.setChecked(true);
    EXPECT_TRUE(b.checked());
    EXPECT_FALSE(a.checked());
    EXPECT_EQ(bClicks, 1);
    EXPECT_EQ(aClicks, 0);  // being unchecked by a sibling fires nothing
    b.setChecked(true);
    EXPECT_EQ(bClicks, 1);
    EXPECT_EQ(group.checkedMember(), &b);
}

TEST(Widgets, RadioMenuItemsAndClicks) {
    MenuItem::Group group;
    MenuItem d00(group, "D00", "00", true), d05(group, "D05", "05");
    MenuItem plain("MenuRecord", "Enregistrer le message");
    int clicks = 0;
    d05.onClick = [&] { ++clicks; };
    d05.setChecked(true);  // a check mark alone runs no handler
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(d00.checked());
    d05.click();
    EXPECT_EQ(clicks, 1);
    plain.setChecked(true);
    EXPECT_TRUE(plain.checked());
    EXPECT_TRUE(d05.checked());  // not in the group
}

TEST(Widgets, ListAndComboSelections) {
    ListBox list("ListBoxCOM");
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    for (const char* port : {"No COM", "COM1"}) list.addItem(port);
    list.setItemIndex(1);
    list.setItemIndex(1);
    list.setItemIndex(7);  // out of range selects nothing
    EXPECT_EQ(list.itemIndex(), -1);
    EXPECT_EQ(clicks, 2);

    ComboBox combo("ComboBoxChoixOut");
    int changes = 0;
    combo.onChange = [&] { ++changes; };
    for (const char* output : {"Haut-parleurs", "Casque"}) combo.addItem(output);
    combo.setItemIndex(1);
    EXPECT_EQ(combo.text(), "Casque");
    combo.setText("Haut-parleurs");
    EXPECT_EQ(combo.itemIndex(), 0);
    combo.setText("");
    EXPECT_EQ(combo.itemIndex(), -1);
    EXPECT_EQ(changes, 3);
    combo.clearItems();
    EXPECT_EQ(combo.count(), 0);
}

TEST(Widgets, ButtonClickRunsEvenWhenDisabled) {
    Button button("Button1", "Ecouter le tintal");
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    button.setEnabled(false);
    button.click();
    EXPECT_EQ(clicks, 1);
}

TEST(Widgets, WindowShowAndHideFireOnce) {
    Window w("TFormCOM", "Port COM", Rect{1, 2, 300, 200});
    int shows = 0, closes = 0;
    w.onShow = [&] { ++shows; };
    w.onClose = [&] { ++closes; };
    EXPECT_FALSE(w.visible());
    w.show();
    w.show();
    w.hide();
    w.hide();
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(closes, 1);
    w.setBounds(Rect{5, 5, 10, 10});
    EXPECT_EQ(w.bounds(), (Rect{5, 5, 10, 10}));
}

TEST(Widgets, ShowingAnOpenWindowAgainAsksTheViewToBringItForward) {
    Window w("TFormMeteoMETAR", "METAR", Rect{1, 2, 300, 200});
    int renders = 0;
    w.setRenderer([&] { ++renders; });
    w.show();
    const unsigned first = w.frontRequests();
    const int rendersAfterFirst = renders;
    w.show();  // already visible: "Voir météo" on a window hidden behind others
    EXPECT_GT(w.frontRequests(), first);
    EXPECT_GT(renders, rendersAfterFirst);
    EXPECT_TRUE(w.visible());
}

TEST(Widgets, TimerRestartsItsCountWhenTheIntervalChanges) {
    VirtualEventLoop loop(encodeDateTime(2026, 12, 1));
    Timer timer(loop, 500);
    std::vector<std::int64_t> at;
    timer.onTimer = [&] { at.push_back(loop.monotonicMs()); };
    timer.start();
    loop.advance(500);
    timer.setInterval(1000);
    loop.advance(2500);
    timer.setEnabled(false);
    loop.advance(5000);
    EXPECT_EQ(at, (std::vector<std::int64_t>{500, 1500, 2500}));
    EXPECT_EQ(loop.activeTimers(), 0u);
}

}  // namespace
}  // namespace tintal
