#include <gtest/gtest.h>

#include "FacilityBuilder.h"
#include "forms/CSystemInfoForm.h"

namespace {

TEST(CSystemInfoForm, EditsTheFirstChosenPanel) {
    CFacilityManager m;
    FacilityBuilder(m).panel(1).panel(2, 2, u"Annex").details(u"Installer with a name longer than twenty", u"555", u"");
    ScriptedPrompt prompt;
    prompt.choice = {2, 1};
    CSystemInfoForm form(m, prompt);
    ASSERT_TRUE(form.open());
    EXPECT_EQ(prompt.choices, std::vector<bool>{true});
    EXPECT_EQ(form.panel(), 1);  // panel order, not the order of the marks
    form.label = u"Hall";
    ASSERT_TRUE(form.accept());
    EXPECT_EQ(*m.getPanelLabel(1), u"Hall");

    prompt.choice = {2};
    ASSERT_TRUE(form.open());
    form.phone = u"556";
    ASSERT_TRUE(form.accept());
    // A value longer than the dialog lets one type survives an OK untouched.
    EXPECT_EQ(m.getPanelInstaller(2), u"Installer with a name longer than twenty");
    EXPECT_EQ(m.getPanelPhone(2), u"556");
}

TEST(CSystemInfoForm, CancelledChoiceEditsNothing) {
    CFacilityManager m;
    FacilityBuilder(m).panel(1);
    ScriptedPrompt prompt;
    prompt.cancelChoice = true;
    CSystemInfoForm form(m, prompt);
    EXPECT_FALSE(form.open());
    EXPECT_FALSE(form.accept());
    EXPECT_FALSE(m.getPanelSelected(1));
}

}  // namespace
