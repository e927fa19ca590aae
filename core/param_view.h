#ifndef QEL_CORE_PARAM_VIEW_H
#define QEL_CORE_PARAM_VIEW_H

#include <QtEndian>
#include <type_traits>

#include "core/param_layout.h"
#include "core/types.h"

// Typed views over parameter-image records. A view points into any buffer
// that holds image bytes from `base` on: the live image and the shadow have
// base 0, a user-mode payload base Img::USER_PAYLOAD. Offsets given to a view
// are image offsets. Views over `const u8` only read; views over `u8` also
// write. Writers to the live image hold c331_manage::para_mutex (use
// QelRamPara::edit).
namespace Img {
inline u16 rd16(const u8 *buf, int offset) { return qFromLittleEndian<quint16>(buf + offset); }
inline void wr16(u8 *buf, int offset, u16 value) { qToLittleEndian<quint16>(value, buf + offset); }

// Crop word: bit 15 in use, bits 8..14 crop number - 1, bits 0..7 input slot.
inline bool cropInUse(u16 word) { return (word & 0x8000) != 0; }
inline int cropSlot(u16 word) { return word & 0xFF; }
inline int cropNumber(u16 word) { return ((word >> 8) & 0x7F) + 1; }
inline u16 cropWord(int slot, int number) { return u16(0x8000 | (((number - 1) & 0x7F) << 8) | (slot & 0xFF)); }
}

template <class Byte> class RecordView
{
    static_assert(std::is_same<std::remove_const_t<Byte>, u8>::value, "views are over bytes");

public:
    RecordView(Byte *buffer, int imageOffset, int base) : p(buffer + imageOffset - base) {}
    u8 byte(int field) const { return p[field]; }
    u16 word(int field) const { return Img::rd16(p, field); }
    void setByte(int field, u8 v) { p[field] = v; }
    void setWord(int field, u16 v) { Img::wr16(p, field, v); }

protected:
    Byte *p;
};

// Window record w (2272 + 26w).
template <class Byte> class WindowRecord : public RecordView<Byte>
{
    using B = RecordView<Byte>;

public:
    WindowRecord(Byte *buffer, int w, int base = 0) : B(buffer, Img::window(w, 0), base) {}
    // on only when the low byte of the on word is 1
    bool on() const { return B::byte(Img::W_ON) == 1; }
    void setOn(bool on) { B::setWord(Img::W_ON, on ? 1 : 0); }
    u8 mirror() const { return B::byte(Img::W_MIRROR); }
    void setMirror(u8 m) { B::setByte(Img::W_MIRROR, m); }
    // the source bytes: an input slot, or a crop record index when isCrop()
    u8 source() const { return B::byte(Img::W_SOURCE); }
    bool isCrop() const { return (B::byte(Img::W_CROP_FLAG) & 0x80) != 0; }
    u16 sourceWord() const { return B::word(Img::W_SOURCE); }
    void setInput(u8 slot) { B::setByte(Img::W_SOURCE, slot); B::setByte(Img::W_CROP_FLAG, 0); }
    void setCropRecord(u8 record) { B::setByte(Img::W_SOURCE, record); B::setByte(Img::W_CROP_FLAG, 0x80); }
    void clearSource() { B::setByte(Img::W_SOURCE, 0); B::setByte(Img::W_CROP_FLAG, 0); }
    u16 x() const { return B::word(Img::W_X); }
    u16 y() const { return B::word(Img::W_Y); }
    u16 width() const { return B::word(Img::W_W); }
    u16 height() const { return B::word(Img::W_H); }
    void setX(u16 v) { B::setWord(Img::W_X, v); }
    void setY(u16 v) { B::setWord(Img::W_Y, v); }
    void setWidth(u16 v) { B::setWord(Img::W_W, v); }
    void setHeight(u16 v) { B::setWord(Img::W_H, v); }
    u16 flags() const { return B::word(Img::W_FLAGS); }
    void setFlags(u16 v) { B::setWord(Img::W_FLAGS, v); }
    bool fade() const { return (flags() & 0x0004) != 0; }
    bool pointToPoint() const { return (flags() & 0x0100) != 0; }
    u8 volume() const { return B::byte(Img::W_VOLUME); }
    void setVolume(u8 v) { B::setByte(Img::W_VOLUME, v); }
    u8 audio() const { return B::byte(Img::W_AUDIO); }
    bool audioOn() const { return (audio() & 0x80) != 0; }
    void setAudio(u8 v) { B::setByte(Img::W_AUDIO, v); }
    u16 p2pSplice() const { return B::word(Img::W_P2P_SPLICE); }
    void setP2pSplice(u16 v) { B::setWord(Img::W_P2P_SPLICE, v); }
};

// Crop record k (1472 + 10k).
template <class Byte> class CropRecord : public RecordView<Byte>
{
    using B = RecordView<Byte>;

public:
    CropRecord(Byte *buffer, int k, int base = 0) : B(buffer, Img::crop(k), base) {}
    u16 cropWord() const { return B::word(0); }
    void setCropWord(u16 w) { B::setWord(0, w); }
    bool inUse() const { return Img::cropInUse(cropWord()); }
    int slot() const { return Img::cropSlot(cropWord()); }
    int number() const { return Img::cropNumber(cropWord()); }
    // in use with an input slot 0..5 and a crop number 1..40
    bool valid() const { return inUse() && slot() <= 5 && number() <= Img::CROP_COUNT; }
    u16 x() const { return B::word(2); }
    u16 y() const { return B::word(4); }
    u16 width() const { return B::word(6); }
    u16 height() const { return B::word(8); }
    void setRect(u16 x, u16 y, u16 w, u16 h)
    {
        B::setWord(2, x);
        B::setWord(4, y);
        B::setWord(6, w);
        B::setWord(8, h);
    }
};

// An input's live timing as a value, copied out of its record.
struct InputSignal
{
    u16 width = 0;
    u16 height = 0;
    u8 rate = 0;
    bool present() const { return width != 0 && height != 0 && rate != 0; }
    bool operator==(const InputSignal &o) const { return width == o.width && height == o.height && rate == o.rate; }
    bool operator!=(const InputSignal &o) const { return !(*this == o); }
};

// Timing record of input slot i: live signal (256 + 6i: w, h, u8 rate) and
// the EDID record (896 + 6i: w, h, u16 rate).
template <class Byte> class InputTiming : public RecordView<Byte>
{
    using B = RecordView<Byte>;

public:
    InputTiming(Byte *buffer, int slot, int base = 0)
        : B(buffer, Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot, base) {}
    u16 width() const { return B::word(0); }
    u16 height() const { return B::word(2); }
    u8 rate() const { return B::byte(4); }
    bool hasSignal() const { return width() != 0 && height() != 0 && rate() != 0; }
    InputSignal value() const { return InputSignal{width(), height(), rate()}; }
    void set(u16 w, u16 h, u8 rate)
    {
        B::setWord(0, w);
        B::setWord(2, h);
        B::setWord(4, rate);
    }
};

template <class Byte> class EdidRecord : public RecordView<Byte>
{
    using B = RecordView<Byte>;

public:
    EdidRecord(Byte *buffer, int slot, int base = 0)
        : B(buffer, Img::EDID_RECORD + Img::EDID_RECORD_SIZE * slot, base) {}
    u16 width() const { return B::word(0); }
    u16 height() const { return B::word(2); }
    u16 rate() const { return B::word(4); }
    void set(u16 w, u16 h, u16 rate)
    {
        B::setWord(0, w);
        B::setWord(2, h);
        B::setWord(4, rate);
    }
};

using WindowView = WindowRecord<const u8>;
using WindowEdit = WindowRecord<u8>;
using CropView = CropRecord<const u8>;
using CropEdit = CropRecord<u8>;
using InputTimingView = InputTiming<const u8>;
using EdidView = EdidRecord<const u8>;
using EdidEdit = EdidRecord<u8>;

// What window w shows, read from the window record and the crop table of the
// same buffer: an input slot (a crop's own input for a crop) and the crop
// record, or no source when the window names no input 0..5, or a crop record
// that is past the table or not valid.
struct WindowSource
{
    static constexpr int NONE = 0xFF;
    int slot = NONE;    // 0..5, NONE when there is no source
    int record = -1;    // crop record 0..39 shown; -1 for a whole input or no source
    bool valid() const { return slot != NONE; }
    bool isCrop() const { return record >= 0; }
};

inline WindowSource windowSource(const u8 *buffer, int w, int base = 0)
{
    WindowSource s;
    if (w < 0 || w >= Img::WINDOW_RECORDS)
        return s;
    const WindowView v(buffer, w, base);
    const int source = v.source();
    if (!v.isCrop()) {
        if (source <= 5)
            s.slot = source;
        return s;
    }
    if (source >= Img::CROP_COUNT)
        return s;
    const CropView crop(buffer, source, base);
    if (!crop.valid())
        return s;
    s.slot = crop.slot();
    s.record = source;
    return s;
}

#endif
