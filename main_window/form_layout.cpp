// The window's controls, captions and places (twips), in tab order.
#include "main_window/frmMain.h"

namespace frmMain {

const platform::FormDescription& form() {
    using platform::ControlKind;
    using platform::TextField;
    static const platform::FormDescription description = [] {
        platform::FormDescription d;
        d.caption = u"MDBファイル修復ツール";
        d.clientWidth = 8115;
        d.clientHeight = 4005;
        d.queryClose = &queryClose;
        // one control a row, as the form lists them
        // clang-format off
        d.controls = {
            {"Label1", ControlKind::Label, u"修復するMDBファイル", 120, 180, 4275, 255, 4, {}},
            {"fldMdbFile", ControlKind::TextField, u"", 120, 420, 7035, 375, 0, TextField::MdbFile, nullptr},
            {"cmdRef", ControlKind::PushButton, u"参照(&R)", 7200, 420, 795, 375, 1, {}, &cmdRef_Click, false},
            {"fldMsg", ControlKind::LogField, u"", 120, 1020, 7875, 2175, 5, TextField::Msg, nullptr},
            {"cmdOk", ControlKind::PushButton, u"修復の実行(&R)", 5220, 3480, 1395, 375, 2, {},
             &cmdOk_Click, true},
            {"cmdCancel", ControlKind::PushButton, u"ｷｬﾝｾﾙ", 6600, 3480, 1395, 375, 3, {},
             &cmdCancel_Click, false},
        };
        // clang-format on
        return d;
    }();
    return description;
}

}  // namespace frmMain
