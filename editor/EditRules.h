#pragma once
// The frequency editor's decisions as plain functions of texts and numbers:
// which typed characters a frequency box takes, how a typed frequency is
// completed, and what a commit does to the row. The window only feeds them
// and carries out the outcome.
#include "Codec.h"

#include <cstddef>
#include <string>

namespace zk::edit {

// Characters the key filter treats specially.
inline constexpr char32_t kBackspace = 8;
inline constexpr char32_t kEnter = 13;
// The frequency form the codec stores, shared with the model.
using zk::isStorableFrequency;
using zk::kFrequencyLength;
using zk::meetsStepRule;

enum class KeyAction {
    Pass,    // the character reaches the box
    Drop,    // the character is swallowed
    EndEdit, // Enter: the box is hidden, which commits it
};

// textLength is that of the whole text in the box, whatever is selected.
KeyAction filterKey(std::size_t textLength, char32_t typed);

// Text put into a frequency box other than by typing (a paste, the middle
// mouse button, a drop): before is the box's text until then, after its text
// now. The inserted characters go through filterKey one by one, as if typed
// at that place, so the box never holds what typing could not have put there.
// Returns the text to keep and, in cursor, the position after the insertion.
std::string filterInsertion(const std::string& before, const std::string& after, std::size_t& cursor);

// Appends a missing point, then fills up with zeros to nine characters; a
// lone point becomes empty and nine or more characters stay as they are.
std::string normaliseFrequency(const std::string& typed);

enum class CommitKind {
    EmptyEntry,        // empty the cell (and the row's other cells if no frequency is left)
    Write,             // write the completed text
    WriteWithDefaults, // write it and give the row its channel defaults
    Refuse,            // range message, then empty the cell
    NotANumber,        // "'%s' is not a valid floating point value"
};

struct CommitDecision {
    CommitKind kind;
    std::string text; // the completed text (the typed text for EmptyEntry)
};

// typed: the box's text; old: the edited cell before the commit; other: the
// row's other frequency cell; low/high: the current band's limits in MHz.
CommitDecision decideFrequencyCommit(const std::string& typed, const std::string& old, const std::string& other,
                                     int low, int high);

// "RX Frequency in 136MHZ~174MHZ" for column 1, "TX Frequency in ..." for 2.
std::string rangeMessage(int column, int low, int high);

// Channel defaults for columns 3..6 of a row that gets its first frequency.
inline constexpr const char* kDefaultDecodeTone = "0FF"; // digit zero
inline constexpr const char* kDefaultEncodeTone = "0FF";
inline constexpr const char* kDefaultPower = "High";
inline constexpr const char* kDefaultBandwidth = "Wide";

} // namespace zk::edit
