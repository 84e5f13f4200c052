// The script interface of the core module; web/README.md describes it.
#include "Bindings.h"
#include "Codec.h"
#include "EditRules.h"
#include "ImportWords.h"
#include "ListFit.h"
#include "Lists.h"
#include "RadioCompare.h"
#include "StockLists.h"
#include "UserMessages.h"
#include "WebPlan.h"
#include "WebTransfer.h"

#include <emscripten.h>
#include <emscripten/bind.h>

#include <cstdint>
#include <exception>

namespace zk::web {

using emscripten::val;

namespace {

// The page's plan with what a transfer leaves behind: its report and the
// image a backup read or a restore is to write.
class PagePlan {
public:
    std::string cell(int column, int row) const { return inRange(column, row) ? plan_.table().cell(column, row) : ""; }
    int setting(int setting) const { return setting >= 0 && setting < kSettings ? plan_.table().setting(setting) : -1; }
    int band() const { return plan_.table().band(); }
    int lowLimit() const { return plan_.table().lowLimit(); }
    int highLimit() const { return plan_.table().highLimit(); }
    void setSetting(int setting, int index) { plan_.setSetting(setting, index); }
    void setBand(int band) { plan_.setBand(band); }

    val openChannelFile(const std::string& bytes) { return messageOut(plan_.openChannelFile(bytes)); }
    val channelFile() const { return bytesOut(plan_.channelFileBytes()); }
    val commitFrequency(int column, int row, const std::string& typed)
    {
        return messageOut(plan_.commitFrequency(column, row, typed));
    }
    std::string pick(int column, int row, const std::string& item) { return plan_.pick(column, row, item); }

    val readList(const std::string& text, const std::string& source)
    {
        return messageOut(plan_.readList(text, source));
    }
    // {rows, perBand: [5 counts], fullestBand, asItIs}
    val listInfo() const
    {
        val out = val::object();
        if (!plan_.list())
            return out;
        const ChannelList& list = *plan_.list();
        out.set("rows", static_cast<int>(list.rows.size()));
        val perBand = val::array();
        for (int count : storableRowsPerBand(list))
            perBand.call<void>("push", count);
        out.set("perBand", perBand);
        out.set("fullestBand", fullestBand(list));
        out.set("asItIs", planAsItIs(list).has_value());
        return out;
    }
    val importList(int band, const std::string& lines) { return messageOut(plan_.importList(band, lines)); }
    // {text, message}
    val exportCsv() const
    {
        std::string text;
        val out = val::object();
        out.set("message", messageOut(plan_.exportCsv(text)));
        out.set("text", text);
        return out;
    }

    bool canUndo() const { return plan_.canUndo(); }
    bool canRedo() const { return plan_.canRedo(); }
    void undo() { plan_.undo(); }
    void redo() { plan_.redo(); }

    // {record, message}: row 1..16, or 0 for the settings record.
    val encodeRecord(int row) const
    {
        val out = val::object();
        try {
            out.set("record", row == 0 ? encodeSettingsRecord(plan_.table()) : encodeChannelRecord(plan_.table(), row));
            out.set("message", messageOut({}));
        } catch (const std::exception& e) {
            out.set("record", std::string());
            out.set("message", messageOut({"error", errorBoxText(e.what()), {}}));
        }
        return out;
    }
    val decodeRecord(int row, const std::string& record)
    {
        Message outcome;
        if (record.size() != static_cast<std::size_t>(kRecordHexLength) || row < 0 || row > kChannels)
            return messageOut({"error", "A record is 32 hex digits, for channel 1-16 or the settings (0).", {}});
        plan_.record([&] {
            try {
                if (row == 0)
                    decodeSettingsRecord(plan_.table(), record);
                else
                    decodeChannelRecord(plan_.table(), record, row);
            } catch (const std::exception& e) {
                outcome = {"error", errorBoxText(e.what()), {}};
            }
        });
        return messageOut(outcome);
    }

    // {lines, message}: how the radio's image differs from the plan.
    val compareWithImage(const std::string& bytes) const
    {
        val out = val::object();
        Message message;
        std::vector<std::string> lines;
        if (bytes.size() != kImageSize) {
            message = {"error", "A radio image holds 512 bytes, not " + std::to_string(bytes.size()) + ".", {}};
        } else {
            RadioImage radio{};
            std::copy(bytes.begin(), bytes.end(), radio.begin());
            try {
                lines = differencesFromPlan(radio, plan_.table());
            } catch (const std::exception& e) {
                message = {"error", errorBoxText(e.what()), {}};
            }
        }
        out.set("lines", linesOut(lines));
        out.set("message", messageOut(message));
        return out;
    }

    // The image of the last backup, or the one a restore is to write.
    val image() const { return bytesOut(image_.data(), image_.size()); }
    bool setImage(const std::string& bytes)
    {
        if (bytes.size() != kImageSize)
            return false;
        std::copy(bytes.begin(), bytes.end(), image_.begin());
        return true;
    }

    // {succeeded, messages: [...], differences: [...]} of the last transfer.
    val lastReport() const
    {
        val out = val::object();
        out.set("succeeded", report_.succeeded);
        val messages = val::array();
        for (const Message& message : report_.messages)
            messages.call<void>("push", messageOut(message));
        out.set("messages", messages);
        out.set("differences", linesOut(report_.differences));
        return out;
    }

    double address() const { return static_cast<double>(reinterpret_cast<std::uintptr_t>(this)); }

    int run(Procedure procedure, const std::string& imageName)
    {
        report_ = runProcedure(plan_, procedure, image_, imageName);
        return report_.succeeded ? 1 : 0;
    }

private:
    static bool inRange(int column, int row) { return column >= 0 && column < kColumns && row >= 0 && row < kRows; }

    WebPlan plan_;
    RadioImage image_ = blankImage();
    TransferReport report_;
};

std::string filterKey(int textLength, int typed)
{
    switch (edit::filterKey(static_cast<std::size_t>(textLength), static_cast<char32_t>(typed))) {
    case edit::KeyAction::Pass:
        return "pass";
    case edit::KeyAction::Drop:
        return "drop";
    case edit::KeyAction::EndEdit:
        return "end";
    }
    return "drop";
}

// {text, cursor}: the box's text after a paste or drop, as typing it would have gone.
val filterInsertionOut(const std::string& before, const std::string& after)
{
    std::size_t cursor = 0;
    val out = val::object();
    out.set("text", edit::filterInsertion(before, after, cursor));
    out.set("cursor", static_cast<int>(cursor));
    return out;
}

val bandsOut()
{
    val out = val::array();
    for (const Band& band : bandTable()) {
        val item = val::object();
        item.set("caption", band.caption);
        item.set("name", bandName(static_cast<int>(&band - bandTable().data()) + 1));
        item.set("low", band.low);
        item.set("high", band.high);
        out.call<void>("push", item);
    }
    return out;
}

val columnHeadersOut()
{
    const auto& headers = columnHeaders();
    return linesOut({headers.begin(), headers.end()});
}

val settingsListOut(int setting)
{
    return setting >= 0 && setting < kSettings ? linesOut(settingsList(setting)) : val::array();
}

std::string settingLabelOut(int setting)
{
    return setting >= 0 && setting < kSettings ? settingLabel(setting) : std::string();
}

} // namespace

} // namespace zk::web

// Runs a procedure on the plan at address with the port in Module.zkPort;
// called through ccall with {async: true}, so the script awaits it.
extern "C" EMSCRIPTEN_KEEPALIVE int zk_run_procedure(double address, int procedure, const char* imageName)
{
    auto* plan = reinterpret_cast<zk::web::PagePlan*>(static_cast<std::uintptr_t>(address));
    if (procedure < 0 || procedure > static_cast<int>(zk::web::Procedure::Restore))
        return 0;
    return plan->run(static_cast<zk::web::Procedure>(procedure), imageName);
}

EMSCRIPTEN_BINDINGS(zk_core)
{
    using namespace emscripten;
    using zk::web::PagePlan;
    class_<PagePlan>("Plan")
        .constructor<>()
        .function("cell", &PagePlan::cell)
        .function("setting", &PagePlan::setting)
        .function("band", &PagePlan::band)
        .function("lowLimit", &PagePlan::lowLimit)
        .function("highLimit", &PagePlan::highLimit)
        .function("setSetting", &PagePlan::setSetting)
        .function("setBand", &PagePlan::setBand)
        .function("openChannelFile", &PagePlan::openChannelFile)
        .function("channelFile", &PagePlan::channelFile)
        .function("commitFrequency", &PagePlan::commitFrequency)
        .function("pick", &PagePlan::pick)
        .function("readList", &PagePlan::readList)
        .function("listInfo", &PagePlan::listInfo)
        .function("importList", &PagePlan::importList)
        .function("exportCsv", &PagePlan::exportCsv)
        .function("canUndo", &PagePlan::canUndo)
        .function("canRedo", &PagePlan::canRedo)
        .function("undo", &PagePlan::undo)
        .function("redo", &PagePlan::redo)
        .function("encodeRecord", &PagePlan::encodeRecord)
        .function("decodeRecord", &PagePlan::decodeRecord)
        .function("compareWithImage", &PagePlan::compareWithImage)
        .function("image", &PagePlan::image)
        .function("setImage", &PagePlan::setImage)
        .function("lastReport", &PagePlan::lastReport)
        .function("address", &PagePlan::address);
    function("filterKey", &zk::web::filterKey);
    function("filterInsertion", &zk::web::filterInsertionOut);
    function("normaliseFrequency", &zk::edit::normaliseFrequency);
    function("rangeMessage", &zk::edit::rangeMessage);
    function("bands", &zk::web::bandsOut);
    function("columnHeaders", &zk::web::columnHeadersOut);
    function("toneList", +[] { return zk::web::linesOut(zk::toneList()); });
    function("powerList", +[] { return zk::web::linesOut(zk::powerList()); });
    function("bandwidthList", +[] { return zk::web::linesOut(zk::bandwidthList()); });
    function("settingsList", &zk::web::settingsListOut);
    function("settingLabel", &zk::web::settingLabelOut);
    function("listAbout", +[](const std::string& text) { return zk::listAboutText(text); });
}
