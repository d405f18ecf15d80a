// cmdOk_Click: the repair run. Compacts the database into a new file beside it, then moves the
// original to a backup name and the compacted copy to the original's name.
//
// The run reads the path field once: the field stays live during the wait, and a path typed or a
// browse cancelled meanwhile must not make the moves rename a different file than the one that was
// compacted. It swaps names only when the compactor has left a file under the after-name, and
// that name was free before it started, so the database's path never loses its file for want of
// a copy, nor gets one the compactor disowned or never wrote; and only when that file reads as a
// database holding what the original held, or the user, told what differs, says to go on. When
// the compactor leaves nothing to swap in, what the original still holds is offered as CSV files.
#include "main_window/frmMain.h"
#include "standard/mdlFunctionStandard.h"
#include "standard/text_format.h"
#include "standard/trap.h"

namespace frmMain {

namespace {

bool running = false;

// Clears the one-run-at-a-time mark on every way out of the run.
struct RunMark {
    RunMark() { running = true; }
    ~RunMark() { running = false; }
    RunMark(const RunMark&) = delete;
    RunMark& operator=(const RunMark&) = delete;
};

void stopMessage(const Text& text) {
    std::int32_t kind = 3;
    Text message = text;
    Text title;
    mdlFunctionStandard::gMsgbox(kind, message, title);
}

// Kind 2: the warning whose default button is No.
bool askToReplace(const Text& text) {
    std::int32_t kind = 2;
    Text message = text;
    Text title;
    return mdlFunctionStandard::gMsgbox(kind, message, title);
}

Text quoted(const Text& s) { return u"\"" + s + u"\""; }

// Small codes in decimal; a crash's status (0xC0000005 and the like) in hexadecimal, as it is known.
Text exitCodeText(std::uint32_t code) {
    if (code < 0x10000) return mdlFunctionStandard::decimal(code);
    Text hex = u"0x";
    for (int shift = 28; shift >= 0; shift -= 4) hex += u"0123456789ABCDEF"[(code >> shift) & 0xF];
    return hex;
}

}  // namespace

bool runUnderWay() { return running; }

bool quotable(const Text& path) {
    return path.find(u'"') == Text::npos && path.find(u'\0') == Text::npos &&
           (path.empty() || path.back() != u'\\');
}

Text compactorCommandLine(const Text& programFolder, const Text& source, const Text& afterName) {
    return quoted(programFolder + u"\\" + u"JetComp.exe") + u" -src:" + quoted(source) + u" -dest:" +
           quoted(afterName);
}

void cmdOk_Click() {
    // A press while a run waits for the compactor is ignored: one run at a time.
    if (running) return;
    RunMark mark;
    std::unique_ptr<platform::FileSystem> fileSystem;  // released on every way out

    mdlFunctionStandard::trapped(u"cmdOk_Click", 1, [&](int& line) {
        auto& window = platform::window();
        auto& environment = platform::environment();

        line = 10;
        const Text source = window.readText(platform::TextField::MdbFile);
        Text folder;
        Text file;
        mDevidePathFile(source, folder, file);

        line = 12;
        const Text stamp = stampOf(environment.localTime());

        line = 15;
        const Text afterName = folder + u"_AfterRepair" + stamp + file;
        const Text beforeName = folder + u"_BeforeRepair" + stamp + file;
        // After a refusal of what the compactor did: the original's readable rows offered.
        const auto salvage = [&] {
            mSalvage(*fileSystem, source, rowsFolder(u"_Salvage", folder, stamp, file));
        };

        line = 20;
        mLog(u"開始:" + clockOf(environment.localTime()));

        line = 22;
        fileSystem = environment.createFileSystem();

        line = 23;
        // A path the command line could not carry as it is names no file the compactor could open.
        if (!quotable(source) || !fileSystem->fileExists(source)) {
            stopMessage(source + u"は存在しません。");
            return;
        }
        mLog(u"MDBファイルの存在:OK");

        line = 25;
        if (!fileSystem->fileExists(environment.programFolder() + u"\\" + u"JetComp.exe")) {
            stopMessage(u"JetComp.exeが存在しません。");
            return;
        }
        mLog(u"Jetcomp.exeの存在:OK");

        line = 28;
        // A file already under the after-name (a run of the same second, or the clock set back)
        // would be taken for the compactor's work if the compactor left it alone.
        if (fileSystem->fileExists(afterName)) {
            stopMessage(afterName + u"は既に存在します。ファイル名は変更していません。");
            return;
        }
        if (const Text refusal = launchRefusal(*fileSystem, source, folder, file); !refusal.empty()) {
            stopMessage(refusal);
            return;
        }
        mLog(u"最適化実行中");
        const Text commandLine = compactorCommandLine(environment.programFolder(), source, afterName);
        std::optional<std::uint32_t> exitCode;
        {
            // The launch holds the process until the wait has opened it, so its id stays its own.
            const auto compactor = platform::processes().launchMinimizedFocus(commandLine);
            mdlFunctionStandard::gWatchShellEnd(compactor->id());
            exitCode = compactor->exitCode();
        }
        // Microsoft's compactor documents no exit codes, so a code other than 0 is weighed against
        // the copy itself: one in the system's exception range (0x80000000 and above: an access
        // violation, a breakpoint, ...) is a crash, refused whatever it left; otherwise the user
        // is asked only when the comparison finds nothing at all, and never swaps without yes.
        if (exitCode && *exitCode != 0) {
            const Text failed = u"JetComp.exeが終了コード" + exitCodeText(*exitCode) + u"で終了しました";
            bool whole = false;
            if (*exitCode < 0x80000000u && fileSystem->fileExists(afterName)) {
                const CopyCheck check = mCheckCopy(*fileSystem, source, afterName);
                whole = check.copyReadable && check.everyRowCompared && check.findings.empty();
            }
            if (!whole) {
                stopMessage(failed + u"。ファイル名は変更していません。");
                salvage();
                return;
            }
            if (!askToReplace(failed +
                              u"が、修復後のファイルにはすべてのテーブルと行がそろっています。\r\n\r\n" +
                              replaceQuestion()))
                return;
        } else {
            if (!fileSystem->fileExists(afterName)) {
                stopMessage(afterName + u"は存在しません。");
                salvage();
                return;
            }
            const CopyCheck check = mCheckCopy(*fileSystem, source, afterName);
            if (!check.copyReadable) {
                // Where the damage was found, for whoever is asked to look at the file.
                Text place;
                if (check.damagePage)
                    place = u"（ページ " + mdlFunctionStandard::count(*check.damagePage) + u"）";
                stopMessage(afterName +
                            u"はデータベースとして読み取れません。ファイル名は変更していません。" + place);
                salvage();
                return;
            }
            if (!check.findings.empty()) {
                // Written before the question, so that a "Yes" costs no row that can still be read.
                Text note;
                if (!check.lost.empty())
                    note = mWriteLostRows(*fileSystem, source, rowsFolder(u"_LostRows", folder, stamp, file),
                                          check.lost);
                if (!askToReplace(differencesQuestion(check.findings, note))) return;
            }
        }

        line = 30;
        mLog(u"修復前のファイル名を変更");
        fileSystem->moveFile(source, beforeName);  // never replaces

        line = 35;
        mLog(u"修復後のファイル名を変更");
        fileSystem->moveFile(afterName, source);  // never replaces
        mCopyFileSecurity(*fileSystem, beforeName, source);

        line = 40;
        mLog(u"完了:" + clockOf(environment.localTime()));
        std::int32_t kind = 0;
        Text message = u"終了しました。";
        Text title;
        mdlFunctionStandard::gMsgbox(kind, message, title);

        line = 45;
        fileSystem.reset();
        window.unloadMainWindow();

        line = 48;
        window.endProgram();
    });
}

}  // namespace frmMain
