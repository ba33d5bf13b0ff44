#pragma once
// The in-memory model of a project: programs (START_<name> .. END_<name> sections), their
// directives (one line each) and, per directive, one value list per level. A project is merged
// from up to three files, each read at its own level; a later level overrides an earlier one
// directive by directive while the earlier values stay stored, so a selective save can tell
// what differs from the install and site defaults.
//
// The model keeps the files' text in place: each file is read into one buffer that the program
// list owns, names and values stay views into it until they are edited, and the directives of
// all programs lie side by side in one pool, reserved before a file is read. A directive's
// values at a level are the text that followed its name (with any continuation lines), read
// value by value when asked for; values set through the API are kept as strings of their own.
// So reading allocates nothing per directive or value, and edits allocate only what they change.
//
// Lists keep their order and a cursor (the element the next walk step hands out, or none),
// and find names ignoring case through an index, so reading a file stays linear in its size.
// The reader lets go of a section's index when the section ends and the index is made again on
// the first lookup: most sections of a large file are never looked into, and their indexes
// would cost about a third as much memory as the directives.
// A directive is reached by pointer only until the next directive is added to the list
// (the pool may move); the project and the lists keep positions, not pointers.
//
// Lengths, offsets and counts into a kept text are 32-bit and line numbers are int: the model
// holds texts of at most kLargestModelText bytes (file_io.h), and the files read are refused
// above that, before anything is kept.

#include "projfile/line_tokens.h"
#include "projfile/named_list.h"
#include "projfile/spi_text.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// Levels of the merged files; every edit made through a SpiProject is made at SpiUserLevel.
constexpr int SpiInstallLevel = 0;
constexpr int SpiSiteLevel = 1;
constexpr int SpiUserLevel = 2;
constexpr int SpiLevelCount = 4;

// The values of one directive at one level, in order: a view that stays valid until the
// directive is changed. Values are byte strings; walking them in order is linear, indexing
// the i-th value reads the i values before it.
class SpiValueList {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = const std::string_view&;

        const_iterator() = default;
        reference operator*() const { return value_; }
        pointer operator->() const { return &value_; }
        const_iterator& operator++() {
            Step();
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            Step();
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }

    private:
        friend class SpiValueList;
        void Step();

        const std::vector<std::string>* strings_ = nullptr;
        std::size_t count_ = 0;
        std::size_t index_ = 0;
        std::string_view value_;
        pfsetup::ValueTokenizer tokens_;
    };

    SpiValueList() = default;
    // Values read from a file: the text after the name and the number of values in it.
    SpiValueList(std::string_view text, const char* textEnd, std::uint32_t count)
        : text_(text), textEnd_(textEnd), count_(count) {}
    // Values held as strings.
    explicit SpiValueList(const std::vector<std::string>* values)
        : strings_(values), count_(values ? static_cast<std::uint32_t>(values->size()) : 0) {}

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const_iterator begin() const;
    const_iterator end() const;
    std::string_view operator[](std::size_t i) const;

    // Same number of values with the same texts in the same order.
    bool operator==(const SpiValueList& other) const;
    bool operator!=(const SpiValueList& other) const { return !(*this == other); }

private:
    std::string_view text_;
    const char* textEnd_ = nullptr;
    const std::vector<std::string>* strings_ = nullptr;
    std::uint32_t count_ = 0;
};

// Where the values of one level were read: the file path and the line of the directive's name
// (a continued line counts from its first line). Empty and 0 for values made through the API.
struct SpiOrigin {
    std::shared_ptr<const std::string> file;
    int line = 0;

    const std::string& File() const;
    bool Known() const { return file != nullptr; }
};

class SpiDirectiveList;
class SpiProgramList;

class SpiDirective {
public:
    // The name, ignoring case a key of the list's index; fixed once the directive is made.
    std::string_view Name() const {
        return (bits_ & kFar) != 0 ? FarPart().name : std::string_view(name_, nameLength_);
    }
    // The values of the active level.
    SpiValueList ActiveValues() const;
    // Whether values were read or set at `level`.
    bool HasLevel(int atLevel) const { return (bits_ & (1u << atLevel)) != 0; }
    // Whether the active values were set through the API rather than read.
    bool ValuesEdited() const { return Edited(); }
    // The text after the name as read, when it is exactly what a save writes for these values
    // (each in single quotes after one blank) and the directive was never read in double
    // quotes; otherwise an empty view with no data.
    std::string_view WritersFormText() const {
        return (bits_ & kWritersForm) != 0 && doubleQuoted == 0
                   ? std::string_view(ActiveText(), length_)
                   : std::string_view();
    }

private:
    friend class SpiDirectiveList;
    friend class SpiProgramList;

    // Values of one level: text read from a file (with the number of values in it), or strings
    // of their own (an owned std::vector<std::string>) when the slice is edited.
    struct Slice {
        const char* text = nullptr;
        std::uint32_t length = 0;
        std::uint32_t count = 0;
    };
    // What a directive holds outside its record when its name is not a short view into a
    // kept text, or its active text does not follow its name closely: a name of its own, a
    // long one, values read from another file, values set through the API. The program list
    // keeps these parts for as long as the pool.
    struct Far {
        std::string_view name;
        const char* text = nullptr; // the active text, or the owned strings when edited
        std::string ownName;
    };
    const Far& FarPart() const { return *reinterpret_cast<const Far*>(name_); }
    Far& FarPart() { return *reinterpret_cast<Far*>(const_cast<char*>(name_)); }
    // The active text: a few bytes after the name in the same kept text, or the far part's.
    const char* ActiveText() const {
        if ((bits_ & kFar) != 0) {
            return FarPart().text;
        }
        if (gap_ == kNoText) {
            return nullptr;
        }
        return name_ + nameLength_ + gap_; // both in one kept text
    }
    Slice ActiveSlice() const { return Slice{ActiveText(), length_, count_}; }
    SpiValueList ValuesOf(const Slice& slice) const;
    bool Edited() const { return (bits_ & kEdited) != 0; }
    std::vector<std::string>* Strings() const {
        return reinterpret_cast<std::vector<std::string>*>(const_cast<char*>(ActiveText()));
    }

    // bits_: one bit per level that holds values, then the flags.
    static constexpr std::uint8_t kEdited = 0x10;      // the active slice holds strings
    static constexpr std::uint8_t kOthers = 0x20;      // values of other levels wait in the list
    static constexpr std::uint8_t kWritersForm = 0x40; // the active text is as a save writes it
    static constexpr std::uint8_t kFar = 0x80;         // name_ points at the far part
    // Names shorter than this, and texts this many bytes after the name, are held inline.
    static constexpr std::uint16_t kLongestNear = 0xFFFF;
    static constexpr std::uint16_t kNoText = 0xFFFF; // gap_ of a directive without active text

    // Thirty-two bytes: a large project holds a record per line, and it is most of what a
    // read costs beyond the file's own text.
    const char* name_ = nullptr;      // the name in a kept text, or the far part
    std::uint32_t next_ = UINT32_MAX; // the next directive of the program, or none

public:
    // The line of the user's file where it first stood (1 on), 0 when it was not read from
    // that file: a save that keeps read lines writes them in the file's order.
    std::uint32_t readOrder = 0;

private:
    std::uint32_t length_ = 0; // of the active text
    std::uint32_t count_ = 0;  // of the active values
    std::uint16_t nameLength_ = 0;
    std::uint16_t gap_ = kNoText; // from the name's end to the active text

public:
    std::int8_t level = 0; // the active level: the index of the value list in effect
    bool changed = false;
    std::int8_t doubleQuoted = 0; // set once any value was read in double quotes; never cleared

private:
    std::uint8_t bits_ = 0;
};

// The directives of one program, in order, with a cursor and a name index that ignores case.
// Elements are only appended; a name lookup gives the first element in list order with that
// name, as a walk from the front would. The directives themselves live in the pool of the
// program list that owns the program.
class SpiDirectiveList {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = SpiDirective*;
        using difference_type = std::ptrdiff_t;
        using pointer = SpiDirective* const*;
        using reference = SpiDirective* const&;

        const_iterator() = default;
        reference operator*() const { return current_; }
        const_iterator& operator++();
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator& other) const { return current_ == other.current_; }
        bool operator!=(const const_iterator& other) const { return current_ != other.current_; }

    private:
        friend class SpiDirectiveList;
        const SpiDirectiveList* list_ = nullptr;
        SpiDirective* current_ = nullptr;
    };

    explicit SpiDirectiveList(SpiProgramList& owner) : owner_(&owner) {}
    SpiDirectiveList(const SpiDirectiveList&) = delete;
    SpiDirectiveList& operator=(const SpiDirectiveList&) = delete;
    ~SpiDirectiveList();

    const_iterator begin() const;
    const_iterator end() const { return const_iterator(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // The first element with this name ignoring case, or nullptr; the cursor does not move.
    SpiDirective* Lookup(std::string_view name) const;
    // 0 and the cursor on the element, or 1 with the cursor unchanged.
    int Find(std::string_view name);
    // The element at the cursor; the first element when the cursor is at none; nullptr for an
    // empty list.
    SpiDirective* Current() const;
    // The element at the cursor without the fallback of Current(), nullptr at none.
    SpiDirective* AtCursor() const;
    void Advance();
    void Rewind() { cursor_ = head_; }

    // Adds a directive at the end, with a copy of `name` and `createdAt` as its active level;
    // the cursor does not move.
    SpiDirective* Append(std::string_view name, int createdAt);
    // Find(name), else a new directive named by the view `name` (into text the program list
    // owns), with one lookup: the reader's step for every line. A found element gets the cursor.
    SpiDirective* FindOrAppendView(std::string_view name, int createdAt);
    // The same with the name's hash from HashOf, which also asks the processor for the index
    // slot or bucket the name lands in, so the reader can tokenize the line's values while it
    // arrives.
    SpiDirective* FindOrAppendView(std::string_view name, int createdAt, std::uint64_t hash);
    std::uint64_t HashOf(std::string_view name) const;
    // Deletes the first element of that name, if any, and rewinds the cursor.
    void DeleteByName(std::string_view name);
    void RemoveAll();
    // Lets go of the name index, handing its table to the program list for the next section a
    // read indexes; the next lookup makes the index again.
    void ReleaseIndex();

    static constexpr std::uint32_t kNone = UINT32_MAX;
    static constexpr std::size_t kLargeTable = std::size_t{1} << 16; // slots

private:
    friend class SpiProgramList;
    SpiDirective& At(std::uint32_t index) const; // defined below SpiProgramList
    std::uint32_t SlotOf(std::string_view name, std::uint32_t hash) const;
    // Makes the index when it was released; the list's elements stay as they are.
    void EnsureIndex() const;
    // A table of at least `size` slots, all empty: the program list's spare one when it has
    // from `size` to `largest` slots.
    void EmptyTable(std::size_t size, std::size_t largest) const;
    void Grow();
    void Vacate(std::uint32_t hole);
    // The reader's index of a section that outgrows the cache becomes a set of its names'
    // hashes (see names_), sized for the directives the rest of the file is expected to hold.
    void EnterNameSet();
    // Whether the table, full, is at the size that fills the cache, or would grow past it for
    // what the rest of the file is expected to hold.
    bool OutgrowsCache() const;
    // The index ready for one more name: made again if it was released, and grown (or turned
    // into a name set, unless one was let go of this read) when full. A name set is let go of.
    void MakeRoom();
    // Buckets for a name set that the section's names so far and those expected will fit.
    std::size_t NameSetBuckets() const;
    // A set of every name in the list, of at least `buckets` buckets.
    void RenewNameSet(std::size_t buckets);
    // Enters the element at pool index `index` into the index, after those of its name.
    void Index(std::uint32_t index) const;
    void Link(std::uint32_t index);

    SpiProgramList* owner_;
    std::uint32_t head_ = kNone;
    std::uint32_t tail_ = kNone;
    std::uint32_t cursor_ = kNone;
    std::size_t size_ = 0;
    // Open addressing with linear probing over a power-of-two table at most half full; each
    // slot holds the pool index of the first directive of a name and its hash, so a probe
    // touches the pool only for a likely match. Later directives of the same name (only Append
    // makes them) wait in `later_`, in list order.
    struct Slot {
        // The pool index plus one; 0 in an empty slot, so a table of fresh zero pages is empty
        // without being written first.
        std::uint32_t held;
        std::uint32_t hash;
        bool Empty() const { return held == 0; }
        std::uint32_t Index() const { return held - 1; }
        void Hold(std::uint32_t index) { held = index + 1; }
        static Slot Of(std::uint32_t index, std::uint32_t hash) { return Slot{index + 1, hash}; }
    };
    // A table of empty slots. A large one starts on a 2 MiB boundary, to lie in large pages,
    // and comes from the kernel zeroed (base/large_pages).
    class Table {
    public:
        Table() = default;
        explicit Table(std::size_t size);
        Table(const Table&) = delete;
        Table& operator=(const Table&) = delete;
        ~Table();
        void swap(Table& other) noexcept {
            std::swap(slots_, other.slots_);
            std::swap(size_, other.size_);
        }
        std::size_t size() const { return size_; }
        bool empty() const { return size_ == 0; }
        Slot& operator[](std::size_t at) { return slots_[at]; }
        const Slot& operator[](std::size_t at) const { return slots_[at]; }
        const Slot* begin() const { return slots_; }
        const Slot* end() const { return slots_ + size_; }
        // Empties every slot.
        void Clear();
        // Lets go of the slots first, then holds `size` empty ones.
        void Renew(std::size_t size);

    private:
        Slot* slots_ = nullptr;
        std::size_t size_ = 0;
    };
    // Mutable: a lookup makes a released index again.
    mutable Table slots_;
    mutable std::size_t used_ = 0;
    mutable std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> later_;
    // The 64-bit hashes of a section's names, while the reader fills a section too large for a
    // table in the cache: 32 bits a name in buckets of one cache line, about a quarter of the
    // table's memory, so a line's name costs one probe the reader asks for early. The set only
    // says that a name is new; a name it may hold (read before, or one in billions of like
    // hash) makes the list let go of it and index every name in a table for the rest of the
    // read. Any other use of the index does the same.
    class NameSet {
    public:
        NameSet() = default;
        explicit NameSet(std::size_t buckets);
        NameSet(const NameSet&) = delete;
        NameSet& operator=(const NameSet&) = delete;
        ~NameSet();
        void swap(NameSet& other) noexcept {
            std::swap(memory_, other.memory_);
            std::swap(tags_, other.tags_);
            std::swap(buckets_, other.buckets_);
            std::swap(count_, other.count_);
        }
        bool empty() const { return buckets_ == 0; }
        std::size_t buckets() const { return buckets_; }
        // Full enough that a bucket overflows too often.
        bool Full() const { return count_ >= buckets_ * 13; }
        void Prefetch(std::uint64_t hash) const { __builtin_prefetch(Bucket(hash)); }
        // True, with the hash held after, when the set held no hash like it.
        bool Add(std::uint64_t hash);

        static constexpr std::size_t kPerBucket = 16;

    private:
        static std::size_t Bytes(std::size_t buckets) {
            return buckets * kPerBucket * sizeof(std::uint32_t);
        }
        std::uint32_t* Bucket(std::uint64_t hash) const {
            return tags_ + ((hash & 0xFFFFFFFFU) * buckets_ >> 32) * kPerBucket;
        }
        void* memory_ = nullptr;
        std::uint32_t* tags_ = nullptr;
        std::size_t buckets_ = 0;
        std::size_t count_ = 0;
    };
    mutable NameSet names_;
    // The list let go of a name set while this section was read (a name came again, or the
    // index was used another way): the table serves the rest of the read.
    mutable bool nameSetLeft_ = false;
};

// A comment line of the user's file, kept so a save writes it where it stood: before the
// program's START_ line, or inside the section after the directive `after` (at the section's
// start when `atStart`).
struct SpiComment {
    std::string_view text;
    std::string_view after;
    bool inside = false;
    bool atStart = false;
};

class SpiProgram {
public:
    SpiProgram(SpiProgramList& owner, std::string programName, int createdAt)
        : directives(owner), name(std::move(programName)), level(createdAt) {}
    SpiProgram(const SpiProgram&) = delete;
    SpiProgram& operator=(const SpiProgram&) = delete;

    SpiDirectiveList directives;
    bool changed = false;
    const std::string name; // fixed: the list's name index holds it
    int level;              // the level at which the program was first read or added
    std::vector<SpiComment> comments;
    // A directive named "" or "{" was given values by a line that is no comment: the comment
    // lines then cannot stand for it, and are not written.
    bool commentNamesUsed = false;
};

// The programs of a project, and everything their directives stand on: the pool of
// directives, the texts of the files read, and the values set through the API.
class SpiProgramList : public pfsetup::NamedList<SpiProgram> {
public:
    SpiProgramList() = default;
    ~SpiProgramList();

    // Adds a program at the end; the cursor does not move.
    SpiProgram* Append(std::string name, int createdAt);
    // Find(name), else Append: the reader's step for every section.
    SpiProgram* FindOrAppend(std::string_view name, int createdAt);
    void RemoveAll();

    // A text kept for reading: where it stays and its size.
    struct KeptText {
        char* data;
        std::size_t size;
    };
    // Takes a file's text for reading, keeps it for as long as the programs, and hands back
    // where it stays; `path` names it in origins. Room for the directives it may hold is made
    // at once, so reading it rarely moves a directive.
    KeptText Keep(std::unique_ptr<char[]> data, std::size_t size, const std::string& path);
    KeptText Keep(const std::string& text, const std::string& path);
    // The file and line the values of `directive` at `level` were read from.
    SpiOrigin Origin(const SpiDirective& directive, int level) const;

    // Comment lines of the user's file before its first section (all of them in a file
    // without sections), and after its last one.
    std::vector<std::string_view> leadingComments;
    std::vector<std::string_view> trailingComments;
    // Whether a save writes every directive whose values were not set through the API since
    // its read as its line stood in the file, and a selective save keeps such lines even
    // where they repeat the installed values: an edit then touches only its own lines.
    bool keepReadLines = false;
    // The line `directive` was read from (continuation lines included, up to the end of its
    // last value), or a view without data when its active values were not read from a file or
    // that line spells the name otherwise than the user's file first did.
    std::string_view ReadLineOf(const SpiDirective& directive) const;

    // The values of `directive` at `level`; empty when it has none there.
    SpiValueList ValuesAt(const SpiDirective& directive, int level) const;
    // Makes `level` the active level of `directive` with an empty value list.
    void StartLevel(SpiDirective& directive, int level);
    // Gives the active level the values read from a file: the text after the name and the
    // number of values in it; `writersForm` when that text is as a save writes it.
    void SetReadValues(SpiDirective& directive, std::string_view text, std::uint32_t count,
                       bool writersForm);
    // StartLevel and SetReadValues in one: the reader's step for every line. A directive the
    // line just made, with its values a few bytes after its name, is filled in place.
    void ReadValues(SpiDirective& directive, int level, std::string_view text, std::uint32_t count,
                    bool writersForm) {
        const auto nameEnd =
            reinterpret_cast<std::uintptr_t>(directive.name_) + directive.nameLength_;
        const auto at = reinterpret_cast<std::uintptr_t>(text.data());
        if (directive.bits_ == 0 && level == directive.level && text.data() != nullptr &&
            at >= nameEnd && at - nameEnd < SpiDirective::kNoText) {
            directive.bits_ = static_cast<std::uint8_t>(
                (1u << level) | (writersForm ? SpiDirective::kWritersForm : 0u));
            directive.gap_ = static_cast<std::uint16_t>(at - nameEnd);
            directive.length_ = static_cast<std::uint32_t>(text.size());
            directive.count_ = count;
            return;
        }
        StartLevel(directive, level);
        SetReadValues(directive, text, count, writersForm);
    }
    // Appends a value to the active level, making its values strings of their own.
    void AppendValue(SpiDirective& directive, std::string_view value);

    // The value walk of the project's current directive: rewinds it, or hands out the value at
    // its cursor and moves the cursor on (false at the end, after rewinding).
    void RewindValues(SpiDirective& directive);
    bool NextValue(SpiDirective& directive, std::string_view& value);

    // Positions of directives in the pool, for holders that outlive appends.
    std::uint32_t PositionOf(const SpiDirective& directive) const {
        return static_cast<std::uint32_t>(&directive - pool_.data());
    }
    SpiDirective* AtPosition(std::uint32_t position) {
        return position == SpiDirectiveList::kNone ? nullptr : &pool_[position];
    }
    // Deleted directives and those of deleted programs stay in the pool until RemoveAll; their
    // values are freed at once.

    // While a section is read: how many more directives the rest of its file may hold. An
    // index of 8 Ki slots or more that must grow then grows at once toward that instead of
    // doubling again and again, each time moving every name: to 64 Ki slots, or for more
    // names to a name set made for them. The pool backs its pages that far ahead, 256 KiB at
    // most.
    void ExpectDirectives(std::function<std::size_t()> more) { moreExpected_ = std::move(more); }

    // Frees the index table a released section left for the next one.
    void DropSpareIndex() { SpiDirectiveList::Table().swap(spareSlots_); }

private:
    friend class SpiDirectiveList;
    // A new record at the pool's end. The pool's pages are backed a stretch ahead of the
    // records, not page by page as they are first written.
    SpiDirective& NewDirective() {
        if (pool_.size() >= backedUpTo_ || pool_.data() != backedIn_) {
            BackPoolAhead();
        }
        return pool_.emplace_back();
    }
    void BackPoolAhead();
    // Frees the strings of the active level (and of the others unless `activeOnly`).
    void FreeValues(SpiDirective& directive, bool activeOnly) {
        if ((directive.bits_ & (SpiDirective::kEdited | SpiDirective::kOthers)) != 0) {
            FreeOwnedValues(directive, activeOnly);
        }
        ClearActive(directive);
    }
    // Empties the active slice; strings it held are the caller's.
    static void ClearActive(SpiDirective& directive) {
        if ((directive.bits_ & SpiDirective::kFar) != 0) {
            directive.FarPart().text = nullptr;
        }
        directive.bits_ &= static_cast<std::uint8_t>(~SpiDirective::kEdited);
        directive.length_ = directive.count_ = 0;
        directive.gap_ = SpiDirective::kNoText;
    }
    // Names the directive: a view into a kept text, or with `own` a copy of `name`.
    void SetName(SpiDirective& directive, std::string_view name, bool own);
    // Makes `text` the active text, in the record where it follows the name closely.
    void SetActiveText(SpiDirective& directive, const char* text, std::uint32_t length);
    SpiDirective::Far& MakeFar(SpiDirective& directive);
    struct Text;
    // The kept text `at` points into (its end included), or nullptr.
    const Text* TextHolding(const char* at) const;
    // The value walk's cursor of a directive; only those away from their start are stored.
    std::uint32_t CursorOf(const SpiDirective& directive) const;
    void SetCursor(const SpiDirective& directive, std::uint32_t cursor);
    void FreeOwnedValues(SpiDirective& directive, bool activeOnly);
    void Forget(std::uint32_t position) {
        if (walk_.directive == position) {
            walk_ = Walk();
        }
    }

    struct Text {
        std::unique_ptr<char[]> data;
        std::size_t size = 0;
        std::shared_ptr<const std::string> path;
        mutable std::vector<std::uint32_t> lineStarts; // made on the first origin asked for
    };
    // Values of a directive at a level other than its active one.
    struct OtherLevel {
        int level;
        SpiDirective::Slice slice;
        bool edited;
    };

    std::vector<SpiDirective> pool_;
    // The pool's records up to this one lie in backed pages, while its storage is `backedIn_`.
    std::size_t backedUpTo_ = 0;
    const SpiDirective* backedIn_ = nullptr;
    std::deque<SpiDirective::Far> farParts_;
    std::unordered_map<std::uint32_t, std::uint32_t> cursors_;
    SpiDirectiveList::Table spareSlots_;
    std::function<std::size_t()> moreExpected_;
    std::vector<std::unique_ptr<Text>> texts_;
    std::unordered_map<std::uint32_t, std::vector<OtherLevel>> otherLevels_;
    // Where the last walk over read values stopped, so walking a line's values stays linear.
    struct Walk {
        std::uint32_t directive = SpiDirectiveList::kNone;
        std::uint32_t next = 0;
        SpiValueList::const_iterator values;
    };
    Walk walk_;
    std::size_t ownedValues_ = 0; // edited slices and values of other levels alive
};

inline SpiDirective& SpiDirectiveList::At(std::uint32_t index) const {
    return owner_->pool_[index];
}
