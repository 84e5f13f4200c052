#pragma once
// The page's channel plan: the table, its undo history, and the editor's
// rules for typing and picking, as plain calls a script can make. Every
// call that may fail gives the text the desktop would show instead of
// throwing, since a script sees no C++ exceptions.
#include "ChannelList.h"
#include "ChannelTable.h"
#include "PlanSnapshot.h"
#include "RadioImage.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zk::web {

// What the user is told, if anything: kind "notice", "error" or "" (nothing).
struct Message {
    std::string kind;
    std::string text;
    std::string detail;
};

class WebPlan {
public:
    WebPlan();

    ChannelTable& table() { return table_; }
    const ChannelTable& table() const { return table_; }

    // Replaces the plan with a channel file's bytes; on an error the rows
    // read so far stay, as on the desktop.
    Message openChannelFile(const std::string& bytes);
    std::string channelFileBytes() const;

    // The frequency box's commit of typed text into column 1 or 2 of a row.
    Message commitFrequency(int column, int row, const std::string& typed);
    // A tone, power or bandwidth chosen from its list; a row without a
    // frequency takes none. Empty text when taken, else why not.
    std::string pick(int column, int row, const std::string& item);
    void setSetting(int setting, int index);
    void setBand(int band);

    // A channel list read from CSV text, then the rows taken from it:
    // lines empty for the list as it is when the radio takes it so, else
    // the first 16 of band; else exactly the rows on those lines.
    Message readList(const std::string& text, const std::string& source);
    const std::optional<ChannelList>& list() const { return list_; }
    Message importList(int band, const std::string& lines);
    // The CSV text of the plan, or the error in the message.
    Message exportCsv(std::string& text) const;

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ + 1 < history_.size(); }
    void undo();
    void redo();

    // Runs change and keeps the result as a new history entry when the
    // table changed (a read from the radio is undone as one step).
    void record(const std::function<void()>& change);

private:
    ChannelTable table_;
    std::vector<PlanSnapshot> history_;
    std::size_t position_ = 0;
    std::optional<ChannelList> list_;
    std::string listSource_;
};

} // namespace zk::web
