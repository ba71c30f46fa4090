#include "dialog_template.h"

#include <cstring>

namespace vyr::e2e {
namespace {

// Walks the template's words; strings and ordinals are "sz_Or_Ord" fields.
class Reader {
public:
    Reader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    WORD word() { return read<WORD>(); }
    DWORD dword() { return read<DWORD>(); }
    short shortValue() { return static_cast<short>(read<WORD>()); }
    void alignDword() { offset_ = (offset_ + 3) & ~std::size_t{3}; }
    void skip(std::size_t bytes) { offset_ += bytes; ok_ = ok_ && offset_ <= size_; }

    std::wstring string() {
        std::wstring text;
        for (WORD c = word(); ok_ && c != 0; c = word()) text.push_back(static_cast<wchar_t>(c));
        return text;
    }
    // A string, or an ordinal shown as "#n" (predefined classes get their names).
    std::wstring stringOrOrdinal() {
        const WORD first = peekWord();
        if (first == 0xFFFF) {
            word();
            const WORD ordinal = word();
            static constexpr const wchar_t* classes[] = {L"Button", L"Edit", L"Static", L"ListBox",
                                                         L"ScrollBar", L"ComboBox"};
            if (ordinal >= 0x80 && ordinal <= 0x85) return classes[ordinal - 0x80];
            return L"#" + std::to_wstring(ordinal);
        }
        return string();
    }

private:
    WORD peekWord() const {
        if (offset_ + 2 > size_) return 0;
        WORD w;
        std::memcpy(&w, data_ + offset_, 2);
        return w;
    }
    template <class T>
    T read() {
        T value{};
        if (offset_ + sizeof value > size_) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, data_ + offset_, sizeof value);
        offset_ += sizeof value;
        return value;
    }

    const BYTE* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

DialogUnits readUnits(Reader& in) {
    DialogUnits u{};
    u.x = in.shortValue();
    u.y = in.shortValue();
    u.width = in.shortValue();
    u.height = in.shortValue();
    return u;
}

}  // namespace

std::optional<DialogTemplate> readDialogTemplate(HMODULE module, int id, LANGID language) {
    const HRSRC resource = ::FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(id), language);
    if (!resource) return std::nullopt;
    Reader in(static_cast<const BYTE*>(::LockResource(::LoadResource(module, resource))),
              ::SizeofResource(module, resource));
    DialogTemplate dialog;
    if (in.word() != 1 || in.word() != 0xFFFF) return std::nullopt;  // not DLGTEMPLATEEX
    in.dword();                                                       // help id
    in.dword();                                                       // extended style
    dialog.style = in.dword();
    const WORD count = in.word();
    dialog.units = readUnits(in);
    in.stringOrOrdinal();  // menu
    in.stringOrOrdinal();  // class
    dialog.caption = in.string();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.points = in.word();
        in.word();  // weight
        in.skip(2);  // italic, character set
        dialog.font = in.string();
    }
    for (WORD i = 0; i < count && in.ok(); ++i) {
        in.alignDword();
        TemplateItem item;
        in.dword();  // help id
        in.dword();  // extended style
        item.style = in.dword();
        item.units = readUnits(in);
        item.id = static_cast<int>(in.dword());
        item.className = in.stringOrOrdinal();
        item.text = in.stringOrOrdinal();
        in.skip(in.word());  // creation data
        dialog.items.push_back(std::move(item));
    }
    if (!in.ok()) return std::nullopt;
    return dialog;
}

}  // namespace vyr::e2e
