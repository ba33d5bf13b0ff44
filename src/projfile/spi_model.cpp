#include "projfile/spi_model.h"

#include "projfile/file_io.h"

#include "base/large_pages.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Offsets into a kept text, slice lengths and line numbers (one more than the line ends) fit.
static_assert(pfsetup::kLargestModelText + 2 < static_cast<std::uint64_t>(INT32_MAX),
              "the model's 32-bit lengths hold every text it keeps");

// Values ---------------------------------------------------------------------------------------

void SpiValueList::const_iterator::Step() {
    ++index_;
    if (index_ >= count_) {
        index_ = count_;
        return;
    }
    if (strings_ != nullptr) {
        value_ = (*strings_)[index_];
        return;
    }
    int ignoredQuote = 0;
    bool ignoredUnclosed = false;
    tokens_.Next(value_, ignoredQuote, ignoredUnclosed);
}

SpiValueList::const_iterator SpiValueList::begin() const {
    const_iterator it;
    it.strings_ = strings_;
    it.count_ = count_;
    if (count_ == 0) {
        return it;
    }
    if (strings_ != nullptr) {
        it.value_ = (*strings_)[0];
        return it;
    }
    const char* following = text_.data();
    const char* end = textEnd_;
    const std::string_view first = pfsetup::NextLine(following, end);
    it.tokens_ = pfsetup::ValueTokenizer(first, following, end);
    int ignoredQuote = 0;
    bool ignoredUnclosed = false;
    it.tokens_.Next(it.value_, ignoredQuote, ignoredUnclosed);
    return it;
}

SpiValueList::const_iterator SpiValueList::end() const {
    const_iterator it;
    it.strings_ = strings_;
    it.count_ = count_;
    it.index_ = count_;
    return it;
}

std::string_view SpiValueList::operator[](std::size_t i) const {
    if (strings_ != nullptr) {
        return (*strings_)[i];
    }
    auto it = begin();
    for (std::size_t n = 0; n < i; ++n) {
        ++it;
    }
    return *it;
}

bool SpiValueList::operator==(const SpiValueList& other) const {
    return count_ == other.count_ && std::equal(begin(), end(), other.begin());
}

const std::string& SpiOrigin::File() const {
    static const std::string none;
    return file ? *file : none;
}

// Directives -----------------------------------------------------------------------------------

namespace {

SpiValueList ValuesOfSlice(const char* text, std::uint32_t length, std::uint32_t count,
                           bool edited) {
    if (edited) {
        return SpiValueList(
            reinterpret_cast<const std::vector<std::string>*>(const_cast<char*>(text)));
    }
    return SpiValueList(std::string_view(text ? text : "", length), text ? text + length : nullptr,
                        count);
}

void DeleteStrings(const char* text) {
    delete reinterpret_cast<std::vector<std::string>*>(const_cast<char*>(text));
}

} // namespace

static_assert(sizeof(SpiDirective) == 32, "a directive's record stays small");

SpiValueList SpiDirective::ValuesOf(const Slice& slice) const {
    return ValuesOfSlice(slice.text, slice.length, slice.count, Edited());
}

SpiValueList SpiDirective::ActiveValues() const {
    return ValuesOf(ActiveSlice());
}

SpiDirectiveList::~SpiDirectiveList() {
    RemoveAll();
}

SpiDirectiveList::const_iterator& SpiDirectiveList::const_iterator::operator++() {
    current_ = current_->next_ == kNone ? nullptr : &list_->At(current_->next_);
    return *this;
}

SpiDirectiveList::const_iterator SpiDirectiveList::begin() const {
    const_iterator it;
    it.list_ = this;
    it.current_ = head_ == kNone ? nullptr : &At(head_);
    return it;
}

std::uint32_t SpiDirectiveList::SlotOf(std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.Empty() ||
            (slot.hash == hash && pfsetup::EqualsIgnoreCase(At(slot.Index()).Name(), name))) {
            return static_cast<std::uint32_t>(i);
        }
    }
}

SpiDirectiveList::Table::Table(std::size_t size)
    : slots_(static_cast<Slot*>(pfsetup::AllocateZeroedTable(size * sizeof(Slot)))), size_(size) {}

SpiDirectiveList::Table::~Table() {
    if (slots_ != nullptr) {
        pfsetup::FreeTable(slots_, size_ * sizeof(Slot));
    }
}

void SpiDirectiveList::Table::Clear() {
    std::fill(slots_, slots_ + size_, Slot{0, 0});
}

void SpiDirectiveList::Table::Renew(std::size_t size) {
    Table().swap(*this);
    Table(size).swap(*this);
}

void SpiDirectiveList::EmptyTable(std::size_t size, std::size_t largest) const {
    Table& spare = owner_->spareSlots_;
    if (spare.size() >= size && spare.size() <= largest) {
        slots_.swap(spare);
        slots_.Clear();
    } else {
        slots_.Renew(size);
    }
}

SpiDirectiveList::NameSet::NameSet(std::size_t buckets)
    : memory_(pfsetup::AllocateZeroedTable(Bytes(buckets) + 64)), buckets_(buckets) {
    // Buckets on cache lines, so a probe reads one.
    auto* const first = static_cast<char*>(memory_);
    tags_ = reinterpret_cast<std::uint32_t*>(
        first + (64 - reinterpret_cast<std::uintptr_t>(first) % 64) % 64);
    pfsetup::BackWithPages(tags_, Bytes(buckets));
}

SpiDirectiveList::NameSet::~NameSet() {
    if (memory_ != nullptr) {
        pfsetup::FreeTable(memory_, Bytes(buckets_) + 64);
    }
}

namespace {

// Of a bucket's tags, those equal to `tag` and those free (0), a bit each.
struct BucketMasks {
    std::uint64_t held = 0;
    std::uint64_t free = 0;
};

BucketMasks Scan(const std::uint32_t* bucket, std::uint32_t tag) {
    BucketMasks masks;
#ifdef __SSE2__
    const __m128i want = _mm_set1_epi32(static_cast<int>(tag));
    const __m128i zero = _mm_setzero_si128();
    for (std::size_t i = 0; i < 16; i += 4) {
        // Four bits a tag: the byte mask of the comparison.
        const __m128i four = _mm_load_si128(reinterpret_cast<const __m128i*>(bucket + i));
        const auto held = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi32(four, want)));
        const auto free = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi32(four, zero)));
        masks.held |= std::uint64_t{held} << (4 * i);
        masks.free |= std::uint64_t{free} << (4 * i);
    }
#else
    for (std::size_t i = 0; i < 16; ++i) {
        masks.held |= std::uint64_t{bucket[i] == tag} << (4 * i);
        masks.free |= std::uint64_t{bucket[i] == 0} << (4 * i);
    }
#endif
    return masks;
}

} // namespace

bool SpiDirectiveList::NameSet::Add(std::uint64_t hash) {
    // The tag is the hash's upper half, the bucket comes from its lower one; 0 marks a free
    // place. Nothing leaves the set, so a bucket's free places follow its tags, and the buckets
    // after a full one take what it cannot.
    const auto high = static_cast<std::uint32_t>(hash >> 32);
    const std::uint32_t tag = high == 0 ? 1 : high;
    std::uint32_t* bucket = Bucket(hash);
    std::uint32_t* const end = tags_ + buckets_ * kPerBucket;
    static_assert(kPerBucket == 16, "a bucket is one cache line, four bits a tag in a mask");
    for (;;) {
        const BucketMasks masks = Scan(bucket, tag);
        if (masks.held != 0) {
            return false;
        }
        if (masks.free != 0) {
            bucket[__builtin_ctzll(masks.free) / 4] = tag;
            ++count_;
            return true;
        }
        bucket += kPerBucket;
        if (bucket == end) {
            bucket = tags_;
        }
    }
}

void SpiDirectiveList::Grow() {
    if (slots_.empty()) {
        // A section being read: the last section's table, whatever its size, as the next
        // section is likely to be as large.
        EmptyTable(16, SIZE_MAX);
        return;
    }
    std::size_t size = slots_.size() * 2;
    if (slots_.size() >= kLargeTable / 8 && owner_->moreExpected_) {
        // A section this long is likely to go on as the rest of the file suggests: skip the
        // steps between, up to the largest table that still fits the cache and then at most
        // eight times a step.
        const std::size_t limit = slots_.size() < kLargeTable ? kLargeTable : slots_.size() * 8;
        const std::size_t needed = 2 * (used_ + 1 + owner_->moreExpected_());
        while (size < needed && size < limit) {
            size *= 2;
        }
    }
    Table old(size);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (!slot.Empty()) {
            std::size_t i = slot.hash & mask;
            while (!slots_[i].Empty()) {
                i = (i + 1) & mask;
            }
            slots_[i] = slot;
        }
    }
}

std::size_t SpiDirectiveList::NameSetBuckets() const {
    // The rest of the file may belong to other sections: past 256 Ki names, a set is made for
    // at most eight times the names so far.
    std::size_t expected = size_ + 1 + (owner_->moreExpected_ ? owner_->moreExpected_() : 0);
    expected = std::min(expected, std::max<std::size_t>(8 * (size_ + 1), std::size_t{1} << 18));
    // Three quarters full when the expected names are in, half full now, twice the last set.
    return std::max({expected / 12 + 1, 2 * size_ / NameSet::kPerBucket, 2 * names_.buckets()});
}

void SpiDirectiveList::EnterNameSet() {
    RenewNameSet(NameSetBuckets());
    Table& spare = owner_->spareSlots_;
    if (spare.size() < slots_.size()) {
        spare.swap(slots_);
    }
    Table().swap(slots_);
    used_ = 0;
}

void SpiDirectiveList::RenewNameSet(std::size_t buckets) {
    NameSet().swap(names_);
    NameSet(buckets).swap(names_);
    for (std::uint32_t at = head_; at != kNone; at = At(at).next_) {
        static_cast<void>(names_.Add(pfsetup::CaseInsensitiveHash()(At(at).Name())));
    }
}

void SpiDirectiveList::EnsureIndex() const {
    if (!names_.empty()) {
        NameSet().swap(names_);
        nameSetLeft_ = true;
    }
    if (!slots_.empty() || size_ == 0) {
        return;
    }
    std::size_t size = 16;
    while (size < (size_ + 1) * 2) {
        size *= 2;
    }
    EmptyTable(size, size * 4);
    // In list order, so the first element of a name is the one found, as before the release.
    for (std::uint32_t at = head_; at != kNone; at = At(at).next_) {
        Index(at);
    }
}

void SpiDirectiveList::Index(std::uint32_t index) const {
    const std::string_view name = At(index).Name();
    const auto hash = static_cast<std::uint32_t>(pfsetup::CaseInsensitiveHash()(name));
    const std::uint32_t slot = SlotOf(name, hash);
    if (!slots_[slot].Empty()) {
        later_[slots_[slot].Index()].push_back(index); // a later element of that name
    } else {
        slots_[slot] = Slot::Of(index, hash);
        ++used_;
    }
}

void SpiDirectiveList::ReleaseIndex() {
    NameSet().swap(names_);
    nameSetLeft_ = false;
    if (slots_.empty()) {
        return;
    }
    // The table is kept for the next section unless it is far larger than the ones after it
    // are likely to need.
    Table& spare = owner_->spareSlots_;
    if (spare.size() < slots_.size() && slots_.size() <= 4 * (2 * size_ + 16)) {
        spare.swap(slots_);
    }
    Table().swap(slots_);
    used_ = 0;
    later_.clear();
}

void SpiDirectiveList::Vacate(std::uint32_t hole) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = (hole + 1) & mask; !slots_[i].Empty(); i = (i + 1) & mask) {
        const std::size_t home = slots_[i].hash & mask;
        const bool staysPut = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
        if (!staysPut) {
            slots_[hole] = slots_[i];
            hole = static_cast<std::uint32_t>(i);
        }
    }
    slots_[hole] = Slot{0, 0};
    --used_;
}

SpiDirective* SpiDirectiveList::Lookup(std::string_view name) const {
    EnsureIndex();
    if (slots_.empty()) {
        return nullptr;
    }
    const auto hash = static_cast<std::uint32_t>(pfsetup::CaseInsensitiveHash()(name));
    const Slot& slot = slots_[SlotOf(name, hash)];
    return slot.Empty() ? nullptr : &At(slot.Index());
}

int SpiDirectiveList::Find(std::string_view name) {
    const SpiDirective* found = Lookup(name);
    if (found == nullptr) {
        return 1;
    }
    cursor_ = owner_->PositionOf(*found);
    return 0;
}

SpiDirective* SpiDirectiveList::Current() const {
    const std::uint32_t at = cursor_ != kNone ? cursor_ : head_;
    return at == kNone ? nullptr : &At(at);
}

SpiDirective* SpiDirectiveList::AtCursor() const {
    return cursor_ == kNone ? nullptr : &At(cursor_);
}

void SpiDirectiveList::Advance() {
    if (cursor_ != kNone) {
        cursor_ = At(cursor_).next_;
    }
}

void SpiDirectiveList::Link(std::uint32_t index) {
    if (tail_ == kNone) {
        head_ = index;
    } else {
        At(tail_).next_ = index;
    }
    tail_ = index;
    ++size_;
}

std::uint64_t SpiDirectiveList::HashOf(std::string_view name) const {
    const std::uint64_t hash = pfsetup::CaseInsensitiveHash()(name);
    if (!names_.empty()) {
        names_.Prefetch(hash);
    } else if (!slots_.empty()) {
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }
    return hash;
}

SpiDirective* SpiDirectiveList::FindOrAppendView(std::string_view name, int createdAt) {
    return FindOrAppendView(name, createdAt, pfsetup::CaseInsensitiveHash()(name));
}

bool SpiDirectiveList::OutgrowsCache() const {
    if (slots_.size() >= kLargeTable) {
        return true;
    }
    return slots_.size() >= kLargeTable / 8 && owner_->moreExpected_ &&
           2 * (used_ + 1 + owner_->moreExpected_()) > kLargeTable;
}

void SpiDirectiveList::MakeRoom() {
    EnsureIndex();
    if ((used_ + 1) * 2 > slots_.size()) {
        if (!nameSetLeft_ && later_.empty() && OutgrowsCache()) {
            EnterNameSet();
        } else {
            Grow();
        }
    }
}

SpiDirective* SpiDirectiveList::FindOrAppendView(std::string_view name, int createdAt,
                                                 std::uint64_t hash) {
    if (names_.empty()) {
        MakeRoom();
    }
    std::uint32_t slot = kNone; // none: the name set took the name
    if (!names_.empty()) {
        if (names_.Full()) {
            RenewNameSet(NameSetBuckets());
        }
        if (!names_.Add(hash)) {
            // Perhaps a name read before: the table decides, from now on.
            MakeRoom();
        }
    }
    if (names_.empty()) {
        slot = SlotOf(name, static_cast<std::uint32_t>(hash));
        if (!slots_[slot].Empty()) {
            cursor_ = slots_[slot].Index();
            return &At(cursor_);
        }
    }
    const auto index = static_cast<std::uint32_t>(owner_->pool_.size());
    SpiDirective& directive = owner_->NewDirective();
    if (name.size() < SpiDirective::kLongestNear) {
        directive.name_ = name.data();
        directive.nameLength_ = static_cast<std::uint16_t>(name.size());
    } else {
        owner_->SetName(directive, name, false);
    }
    directive.level = static_cast<std::int8_t>(createdAt);
    if (slot != kNone) {
        slots_[slot] = Slot::Of(index, static_cast<std::uint32_t>(hash));
        ++used_;
    }
    Link(index);
    return &directive;
}

SpiDirective* SpiDirectiveList::Append(std::string_view name, int createdAt) {
    EnsureIndex();
    if ((used_ + 1) * 2 > slots_.size()) {
        Grow();
    }
    const auto index = static_cast<std::uint32_t>(owner_->pool_.size());
    SpiDirective& directive = owner_->NewDirective();
    owner_->SetName(directive, name, true);
    directive.level = static_cast<std::int8_t>(createdAt);
    Index(index);
    Link(index);
    return &directive;
}

void SpiProgramList::FreeOwnedValues(SpiDirective& directive, bool activeOnly) {
    if (directive.Edited()) {
        DeleteStrings(directive.ActiveText());
        --ownedValues_;
    }
    ClearActive(directive);
    if (!activeOnly && (directive.bits_ & SpiDirective::kOthers) != 0) {
        const auto found = otherLevels_.find(PositionOf(directive));
        if (found != otherLevels_.end()) {
            for (const auto& other : found->second) {
                if (other.edited) {
                    DeleteStrings(other.slice.text);
                    --ownedValues_;
                }
            }
            otherLevels_.erase(found);
        }
        directive.bits_ &= static_cast<std::uint8_t>(~SpiDirective::kOthers);
    }
}

void SpiDirectiveList::DeleteByName(std::string_view name) {
    EnsureIndex();
    if (slots_.empty()) {
        return;
    }
    const auto hash = static_cast<std::uint32_t>(pfsetup::CaseInsensitiveHash()(name));
    const std::uint32_t slot = SlotOf(name, hash);
    if (slots_[slot].Empty()) {
        return;
    }
    const std::uint32_t victim = slots_[slot].Index();
    const auto later = later_.find(victim);
    if (later == later_.end()) {
        Vacate(slot);
    } else {
        // The next directive of that name becomes the first.
        std::vector<std::uint32_t> rest = std::move(later->second);
        later_.erase(later);
        slots_[slot].Hold(rest.front());
        rest.erase(rest.begin());
        if (!rest.empty()) {
            later_[slots_[slot].Index()] = std::move(rest);
        }
    }
    // Unlink: the list is singly linked, so the predecessor is found by a walk.
    std::uint32_t before = kNone;
    for (std::uint32_t at = head_; at != victim; at = At(at).next_) {
        before = at;
    }
    SpiDirective& doomed = At(victim);
    if (before == kNone) {
        head_ = doomed.next_;
    } else {
        At(before).next_ = doomed.next_;
    }
    if (tail_ == victim) {
        tail_ = before;
    }
    owner_->FreeValues(doomed, false);
    owner_->Forget(victim);
    doomed.next_ = kNone;
    --size_;
    cursor_ = head_;
}

void SpiDirectiveList::RemoveAll() {
    // Directives stay in the pool; only the values they own need freeing.
    if (owner_->ownedValues_ != 0 || !owner_->otherLevels_.empty()) {
        for (std::uint32_t at = head_; at != kNone; at = At(at).next_) {
            owner_->FreeValues(At(at), false);
        }
    }
    owner_->walk_ = SpiProgramList::Walk();
    head_ = tail_ = cursor_ = kNone;
    size_ = 0;
    Table().swap(slots_);
    used_ = 0;
    later_.clear();
    NameSet().swap(names_);
    nameSetLeft_ = false;
}

SpiValueList SpiProgramList::ValuesAt(const SpiDirective& directive, int level) const {
    if (level == directive.level) {
        return directive.ActiveValues();
    }
    if ((directive.bits_ & SpiDirective::kOthers) != 0) {
        const auto found = otherLevels_.find(PositionOf(directive));
        if (found != otherLevels_.end()) {
            for (const auto& other : found->second) {
                if (other.level == level) {
                    return ValuesOfSlice(other.slice.text, other.slice.length, other.slice.count,
                                         other.edited);
                }
            }
        }
    }
    return SpiValueList();
}

void SpiProgramList::StartLevel(SpiDirective& directive, int level) {
    directive.bits_ &= static_cast<std::uint8_t>(~SpiDirective::kWritersForm);
    if (directive.bits_ == 0 && level == directive.level) {
        // A directive just made: nothing to drop.
        directive.bits_ = static_cast<std::uint8_t>(1u << level);
        return;
    }
    const std::uint32_t position = PositionOf(directive);
    Forget(position);
    if (level == directive.level) {
        FreeValues(directive, true);
    } else {
        auto& others = otherLevels_[position];
        // The values of the level that was active wait beside the directive.
        if (directive.HasLevel(directive.level)) {
            others.push_back({directive.level, directive.ActiveSlice(), directive.Edited()});
            ClearActive(directive);
        } else {
            FreeValues(directive, true);
        }
        // The new level starts empty: earlier values of it are dropped.
        for (auto it = others.begin(); it != others.end(); ++it) {
            if (it->level == level) {
                if (it->edited) {
                    DeleteStrings(it->slice.text);
                    --ownedValues_;
                }
                others.erase(it);
                break;
            }
        }
        if (others.empty()) {
            otherLevels_.erase(position);
            directive.bits_ &= static_cast<std::uint8_t>(~SpiDirective::kOthers);
        } else {
            directive.bits_ |= SpiDirective::kOthers;
        }
        directive.level = static_cast<std::int8_t>(level);
    }
    directive.bits_ |= static_cast<std::uint8_t>(1u << level);
    SetCursor(directive, SpiDirectiveList::kNone);
}

void SpiProgramList::SetReadValues(SpiDirective& directive, std::string_view text,
                                   std::uint32_t count, bool writersForm) {
    FreeValues(directive, true);
    SetActiveText(directive, text.data(), static_cast<std::uint32_t>(text.size()));
    directive.count_ = count;
    if (writersForm) {
        directive.bits_ |= SpiDirective::kWritersForm;
    } else {
        directive.bits_ &= static_cast<std::uint8_t>(~SpiDirective::kWritersForm);
    }
    if (!cursors_.empty()) {
        cursors_.erase(PositionOf(directive)); // at the start, as every read directive
    }
}

void SpiProgramList::AppendValue(SpiDirective& directive, std::string_view value) {
    directive.bits_ &= static_cast<std::uint8_t>(~SpiDirective::kWritersForm);
    const std::uint32_t position = PositionOf(directive);
    Forget(position);
    const std::uint32_t cursor = CursorOf(directive);
    if (!directive.Edited()) {
        auto strings = std::make_unique<std::vector<std::string>>();
        strings->reserve(directive.count_ + 1);
        for (const std::string_view each : directive.ActiveValues()) {
            strings->emplace_back(each);
        }
        MakeFar(directive).text = reinterpret_cast<const char*>(strings.release());
        directive.length_ = 0;
        directive.bits_ |= SpiDirective::kEdited;
        ++ownedValues_;
    }
    directive.Strings()->emplace_back(value);
    directive.count_ = static_cast<std::uint32_t>(directive.Strings()->size());
    SetCursor(directive, cursor); // where it was, though the count changed
}

void SpiProgramList::SetName(SpiDirective& directive, std::string_view name, bool own) {
    if (!own && name.size() < SpiDirective::kLongestNear) {
        directive.name_ = name.data();
        directive.nameLength_ = static_cast<std::uint16_t>(name.size());
        return;
    }
    SpiDirective::Far& far = farParts_.emplace_back();
    if (own) {
        far.ownName.assign(name.data(), name.size());
        far.name = far.ownName;
    } else {
        far.name = name;
    }
    directive.name_ = reinterpret_cast<const char*>(&far);
    directive.bits_ |= SpiDirective::kFar;
}

SpiDirective::Far& SpiProgramList::MakeFar(SpiDirective& directive) {
    if ((directive.bits_ & SpiDirective::kFar) == 0) {
        SpiDirective::Far& far = farParts_.emplace_back();
        far.name = directive.Name();
        far.text = directive.ActiveText();
        directive.name_ = reinterpret_cast<const char*>(&far);
        directive.bits_ |= SpiDirective::kFar;
    }
    return directive.FarPart();
}

void SpiProgramList::SetActiveText(SpiDirective& directive, const char* text,
                                   std::uint32_t length) {
    directive.length_ = length;
    directive.gap_ = SpiDirective::kNoText;
    if ((directive.bits_ & SpiDirective::kFar) == 0) {
        if (text == nullptr) {
            return;
        }
        // Held in the record only when it follows the name closely in the same kept text.
        const char* nameEnd = directive.name_ + directive.nameLength_;
        const Text* kept = TextHolding(nameEnd);
        if (kept != nullptr && kept == TextHolding(text) && text >= nameEnd &&
            text - nameEnd < SpiDirective::kNoText) {
            directive.gap_ = static_cast<std::uint16_t>(text - nameEnd);
            return;
        }
    }
    MakeFar(directive).text = text;
}

const SpiProgramList::Text* SpiProgramList::TextHolding(const char* at) const {
    const std::less_equal<const char*> notAfter;
    for (const auto& text : texts_) {
        const char* begin = text->data.get();
        if (notAfter(begin, at) && notAfter(at, begin + text->size)) {
            return text.get();
        }
    }
    return nullptr;
}

std::uint32_t SpiProgramList::CursorOf(const SpiDirective& directive) const {
    if (!cursors_.empty()) {
        const auto found = cursors_.find(PositionOf(directive));
        if (found != cursors_.end()) {
            return found->second;
        }
    }
    return directive.count_ == 0 ? SpiDirectiveList::kNone : 0;
}

void SpiProgramList::SetCursor(const SpiDirective& directive, std::uint32_t cursor) {
    const std::uint32_t start = directive.count_ == 0 ? SpiDirectiveList::kNone : 0;
    if (cursor == start) {
        if (!cursors_.empty()) {
            cursors_.erase(PositionOf(directive));
        }
    } else {
        cursors_[PositionOf(directive)] = cursor;
    }
}

void SpiProgramList::RewindValues(SpiDirective& directive) {
    SetCursor(directive, directive.count_ == 0 ? SpiDirectiveList::kNone : 0);
}

bool SpiProgramList::NextValue(SpiDirective& directive, std::string_view& value) {
    std::uint32_t cursor = CursorOf(directive);
    if (cursor == SpiDirectiveList::kNone || cursor >= directive.count_) {
        RewindValues(directive);
        return false;
    }
    const std::uint32_t position = PositionOf(directive);
    const SpiValueList values = directive.ActiveValues();
    if (directive.Edited()) {
        value = values[cursor];
    } else {
        // A walk in order continues where the last step stopped; any other step starts over.
        if (walk_.directive != position || walk_.next != cursor) {
            walk_.directive = position;
            walk_.next = 0;
            walk_.values = values.begin();
        }
        for (; walk_.next < cursor; ++walk_.next) {
            ++walk_.values;
        }
        value = *walk_.values;
        ++walk_.values;
        ++walk_.next;
    }
    ++cursor;
    SetCursor(directive, cursor == directive.count_ ? SpiDirectiveList::kNone : cursor);
    return true;
}

// Programs -------------------------------------------------------------------------------------

SpiProgramList::~SpiProgramList() {
    // The programs' directive lists free their values in the pool, so they go first.
    NamedList::RemoveAll();
}

SpiProgram* SpiProgramList::Append(std::string name, int createdAt) {
    return NamedList::Append(std::make_unique<SpiProgram>(*this, std::move(name), createdAt));
}

SpiProgram* SpiProgramList::FindOrAppend(std::string_view name, int createdAt) {
    if (Find(name) == 0) {
        return Current();
    }
    return Append(std::string(name), createdAt);
}

void SpiProgramList::RemoveAll() {
    NamedList::RemoveAll();
    leadingComments.clear();
    trailingComments.clear();
    ownedValues_ = 0;
    pool_.clear();
    otherLevels_.clear();
    cursors_.clear();
    farParts_.clear();
    texts_.clear();
}

void SpiProgramList::BackPoolAhead() {
    // While a file is read, as many records as the rest of it may hold, at most 256 KiB at a
    // time: so what is backed is what the read goes on to write, and the peak stays the same.
    constexpr std::size_t kStretch = (std::size_t{256} << 10) / sizeof(SpiDirective);
    const std::size_t room = pool_.capacity() - pool_.size();
    const std::size_t ahead =
        room == 0 || !moreExpected_ ? 0 : std::min({room, kStretch, moreExpected_()});
    pfsetup::BackWithPages(pool_.data() + pool_.size(), ahead * sizeof(SpiDirective));
    backedUpTo_ = pool_.size() + std::max<std::size_t>(ahead, 1);
    backedIn_ = pool_.data();
}

SpiProgramList::KeptText SpiProgramList::Keep(std::unique_ptr<char[]> data, std::size_t size,
                                              const std::string& path) {
    auto kept = std::make_unique<Text>();
    kept->data = std::move(data);
    kept->size = size;
    kept->path = std::make_shared<const std::string>(path);
    // Room for a directive per 16 bytes of text, more than real files hold: the room that is
    // not used is never touched, so it costs address space, not memory. A file of shorter
    // lines only makes the pool grow.
    pool_.reserve(pool_.size() + size / 16 + 16);
    texts_.push_back(std::move(kept));
    return KeptText{texts_.back()->data.get(), size};
}

SpiProgramList::KeptText SpiProgramList::Keep(const std::string& text, const std::string& path) {
    std::unique_ptr<char[]> data(new char[text.size() + 1]);
    std::memcpy(data.get(), text.data(), text.size());
    return Keep(std::move(data), text.size(), path);
}

SpiOrigin SpiProgramList::Origin(const SpiDirective& directive, int level) const {
    if (!directive.HasLevel(level)) {
        return SpiOrigin();
    }
    const char* text = nullptr;
    if (level == directive.level) {
        if (directive.Edited()) {
            return SpiOrigin();
        }
        text = directive.ActiveText();
    } else if ((directive.bits_ & SpiDirective::kOthers) != 0) {
        const auto found = otherLevels_.find(static_cast<std::uint32_t>(&directive - pool_.data()));
        if (found != otherLevels_.end()) {
            for (const auto& other : found->second) {
                if (other.level == level && !other.edited) {
                    text = other.slice.text;
                }
            }
        }
    }
    if (text == nullptr) {
        return SpiOrigin();
    }
    if (const Text* kept = TextHolding(text)) {
        const char* begin = kept->data.get();
        const char* end = begin + kept->size;
        if (kept->lineStarts.empty()) {
            const char* p = begin;
            do {
                kept->lineStarts.push_back(static_cast<std::uint32_t>(p - begin));
                pfsetup::NextLine(p, end);
            } while (p < end);
        }
        const auto offset = static_cast<std::uint32_t>(text - begin);
        const auto after =
            std::upper_bound(kept->lineStarts.begin(), kept->lineStarts.end(), offset);
        return SpiOrigin{kept->path, static_cast<int>(after - kept->lineStarts.begin())};
    }
    return SpiOrigin();
}

std::string_view SpiProgramList::ReadLineOf(const SpiDirective& directive) const {
    const char* values = directive.ActiveText();
    if (directive.Edited() || values == nullptr) {
        return std::string_view();
    }
    if (const Text* text = TextHolding(values)) {
        const char* data = text->data.get();
        const char* start = values;
        while (start > data && start[-1] != '\n' && start[-1] != '\r') {
            --start;
        }
        const std::string_view line(start,
                                    static_cast<std::size_t>(values - start) + directive.length_);
        // A later line that repeats the name in other letters gave the values: as it stood it
        // would read as that other name, unless an installed file names the directive.
        if (directive.HasLevel(SpiInstallLevel) || directive.HasLevel(SpiSiteLevel)) {
            return line;
        }
        std::string_view head = line;
        while (!head.empty() && pfsetup::IsSpaceByte(head.front())) {
            head.remove_prefix(1);
        }
        if (!head.empty() && (head.front() == '\'' || head.front() == '"')) {
            head.remove_prefix(1);
        }
        return head.substr(0, directive.Name().size()) == directive.Name() ? line
                                                                           : std::string_view();
    }
    return std::string_view();
}
