#include "harbek_repair.h"

#include "text.h"

namespace bench {

std::string HarbekRepair::start(const std::wstring& folder, const e2e::Environment& environment,
                                const std::wstring& database)
{
    if (auto r = session_.start(folder + L"\\Harbek.exe", folder, environment); !r) return r.message();
    if (auto r = session_.typePath(database); !r) return r.message();
    session_.pressRun();
    return {};
}

std::string HarbekRepair::finish()
{
    e2e::MessageBoxSeen box;
    if (auto r = session_.waitForMessageBox(box, 60000); !r) return r.message();
    if (box.text != L"終了しました。")
        return "Harbek showed \"" + e2e::utf8(box.text) + "\" instead of the completion message; log: " +
               e2e::utf8(session_.log());
    if (auto r = session_.answer(box, IDOK); !r) return r.message();
    if (auto r = session_.waitForExit(); !r) return r.message();
    return {};
}

}  // namespace bench
