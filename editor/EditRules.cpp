#include "EditRules.h"

#include "Errors.h"

namespace zk::edit {

KeyAction filterKey(std::size_t textLength, char32_t typed)
{
    if (typed == kBackspace)
        return KeyAction::Pass;
    if (typed == kEnter)
        return KeyAction::EndEdit;
    if (textLength >= kFrequencyLength)
        return KeyAction::Drop;
    if (typed == U'.' || (typed >= U'0' && typed <= U'9'))
        return KeyAction::Pass;
    return KeyAction::Drop;
}

std::string filterInsertion(const std::string& before, const std::string& after, std::size_t& cursor)
{
    // The common start and end are what the edit kept; the middle of after is
    // what it inserted (in place of the middle of before).
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const std::string inserted = after.substr(head, after.size() - head - tail);

    std::string kept = after.substr(0, head);
    const std::string end = after.substr(after.size() - tail);
    std::size_t length = kept.size() + end.size();
    for (const char c : inserted) {
        // Enter in a pasted text would end the edit; as a character it is dropped.
        if (static_cast<unsigned char>(c) == kEnter || static_cast<unsigned char>(c) == kBackspace)
            continue;
        if (filterKey(length, static_cast<unsigned char>(c)) == KeyAction::Pass) {
            kept += c;
            ++length;
        }
    }
    cursor = kept.size();
    return kept + end;
}

std::string normaliseFrequency(const std::string& typed)
{
    std::string text = typed;
    if (text.find('.') == std::string::npos)
        text += '.';
    if (text.size() == 1)
        return std::string();
    if (text.size() < kFrequencyLength)
        text.append(kFrequencyLength - text.size(), '0');
    return text;
}

CommitDecision decideFrequencyCommit(const std::string& typed, const std::string& old, const std::string& other,
                                     int low, int high)
{
    if (typed.empty())
        return {CommitKind::EmptyEntry, typed};

    const std::string text = normaliseFrequency(typed);
    double mhz = 0;
    try {
        mhz = parseDecimal(text);
    } catch (const AppError&) {
        return {CommitKind::NotANumber, text};
    }

    // The range test comes before the comparison with the old text, so an
    // out-of-band cell loaded from a file is refused even when unchanged.
    if (mhz < low || mhz > high)
        return {CommitKind::Refuse, text};
    // Entries such as 0136.0000 are numbers inside the band, but the radio's
    // record has room for three digits before the point only; keep them out.
    if (!isStorableFrequency(text))
        return {CommitKind::Refuse, text};

    if (text == old || !other.empty())
        return {CommitKind::Write, text};
    if (meetsStepRule(text))
        return {CommitKind::WriteWithDefaults, text};
    return {CommitKind::Refuse, text};
}

std::string rangeMessage(int column, int low, int high)
{
    const char* prefix = column == 1 ? "RX Frequency in " : "TX Frequency in ";
    return prefix + std::to_string(low) + "MHZ~" + std::to_string(high) + "MHZ";
}

} // namespace zk::edit
