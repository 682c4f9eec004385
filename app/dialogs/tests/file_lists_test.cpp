#include <gtest/gtest.h>

#include <string>

#include "dialogs/download_list_form.hpp"
#include "dialogs/tests/dialog_fixture.hpp"
#include "dialogs/upload_list_form.hpp"

namespace zelo::dialogs {
namespace {

using testing::DialogFixture;

TEST(DownloadListForm, BrowseGoesToTheEditLastFocusedOrToTheFirst) {
    DownloadListForm form{ListNames{}};
    EXPECT_EQ(form.Browse("/pc/first.exe"), "");
    EXPECT_EQ(form.Files()[0], "/pc/first.exe");

    form.FocusEdit(10);
    form.FocusEdit(13);  // no such edit: the focus stays on 10
    EXPECT_EQ(form.Browse("/pc/tenth.dat"), "");
    EXPECT_EQ(form.Files()[9], "/pc/tenth.dat");
    EXPECT_EQ(form.Files()[0], "/pc/first.exe");
}

TEST(DownloadListForm, ABrowsedPathLongerThanAnEntryIsRefusedNotCut) {
    DownloadListForm form{ListNames{}};
    form.FocusEdit(2);
    form.SetFile(1, "KEEP.DAT");
    EXPECT_EQ(form.Browse(std::string(kMaxListName, 'p')), "");
    const Refusal refusal = form.Browse(std::string(kMaxListName + 1, 'q'));
    EXPECT_NE(refusal, "");
    EXPECT_EQ(form.Files()[1], std::string(kMaxListName, 'p'));
}

TEST(DownloadListForm, OkRefusesATypedNameTooLongForItsEntry) {
    DownloadListForm form{ListNames{}};
    form.SetFile(11, std::string(kMaxListName + 1, 'x'));
    EXPECT_NE(form.Check().find("File 12"), std::string::npos);
    form.SetFile(11, std::string(kMaxListName, 'x'));
    EXPECT_EQ(form.Check(), "");
}

TEST(DownloadListForm, OkSavesEveryEntryAndCancelLeavesTheListsAsTheyWere) {
    DialogFixture fixture("[Multi_download]\nFile1=A.EXE\nFile2=B.DAT\n");
    {
        DownloadListForm form = DownloadListForm::Open(fixture.view);
        form.SetFile(0, "CHANGED.EXE");
        form.FocusEdit(5);
        ASSERT_EQ(form.Browse("/pc/NEW.DAT"), "");
        form.Cancel();
        EXPECT_EQ(form.Files()[0], "A.EXE");
        EXPECT_EQ(form.Files()[4], "");
    }
    EXPECT_EQ(fixture.state.lists.downloadFiles[0], "A.EXE");
    EXPECT_TRUE(fixture.IniHas("File1=A.EXE"));

    DownloadListForm form = DownloadListForm::Open(fixture.view);
    form.SetFile(1, "");
    form.SetFile(11, "LAST.EXE");
    ASSERT_EQ(form.Check(), "");
    EXPECT_TRUE(ConfirmDownloadList(fixture.view, form));
    EXPECT_EQ(fixture.state.lists.downloadFiles[11], "LAST.EXE");
    EXPECT_TRUE(fixture.IniHas("File2="));
    EXPECT_TRUE(fixture.IniHas("File12=LAST.EXE"));
}

TEST(DownloadListForm, OpeningRereadsTheFile) {
    DialogFixture fixture;
    fixture.state.lists.downloadFiles[3] = "UNSAVED.EXE";
    const DownloadListForm form = DownloadListForm::Open(fixture.view);
    EXPECT_EQ(form.Files()[3], "");
}

TEST(UploadListForm, OkWritesEveryFieldAndTellsTheLibraryTheSaveMethod) {
    DialogFixture fixture("[Multi_upload]\nFile1=DATA.DAT\nDelete1=YES\nUpload_Period=60\n");
    UploadListFields fields = OpenUploadList(fixture.view);
    EXPECT_EQ(fields.files[0], "DATA.DAT");
    EXPECT_EQ(fields.deleteFlags[0], 1);
    EXPECT_EQ(fields.period, 60);

    fields.deleteFlags[0] = 0;
    fields.files[11] = "LOG.TXT";
    fields.deleteFlags[11] = 1;
    fields.loop = 1;
    fields.period = 15;
    fields.saveMethod = 2;
    ASSERT_EQ(CheckUploadList(fields), "");
    EXPECT_TRUE(ConfirmUploadList(fixture.view, fields, fixture.library));

    EXPECT_EQ(fixture.library.calls, (std::vector<std::string>{"save_mode 2"}));
    EXPECT_TRUE(fixture.IniHas("Delete1=NO"));
    EXPECT_TRUE(fixture.IniHas("File12=LOG.TXT"));
    EXPECT_TRUE(fixture.IniHas("Delete12=YES"));
    EXPECT_TRUE(fixture.IniHas("Upload_Save_Mode=Append"));
    EXPECT_TRUE(fixture.IniHas("Upload_Loop=Yes"));
    EXPECT_TRUE(fixture.IniHas("Upload_Period=15"));
}

TEST(UploadListForm, RefusesNamesThatWouldLeaveTheAddressFolder) {
    UploadListFields fields;
    for (const char* name : {"..", "../ERR.TXT", "SUB\\X.DAT", "C:X.DAT", "a/b"}) {
        fields.files[3] = name;
        const Refusal refusal = CheckUploadList(fields);
        EXPECT_NE(refusal.find("File 4"), std::string::npos) << name;
    }
    fields.files[3] = "..DAT";  // dots inside a name are fine
    EXPECT_EQ(CheckUploadList(fields), "");
}

TEST(UploadListForm, RefusesTooLongNamesAndAPeriodTheCountdownCannotReach) {
    UploadListFields fields;
    fields.files[0] = std::string(kMaxListName + 1, 'n');
    EXPECT_NE(CheckUploadList(fields), "");
    fields.files[0] = std::string(kMaxListName, 'n');
    EXPECT_EQ(CheckUploadList(fields), "");

    fields.period = 2147483647;
    EXPECT_NE(CheckUploadList(fields), "");
    fields.period = 2147483646;
    EXPECT_EQ(CheckUploadList(fields), "");
}

}  // namespace
}  // namespace zelo::dialogs
