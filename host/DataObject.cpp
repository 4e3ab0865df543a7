#include "host/DataObject.h"

#include "host/ComObject.h"
#include "host/Error.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

namespace host {

namespace {

void CheckFormat(int format) {
    if (format < 1 || format > 0xFFFF) Raise(460);
}

FORMATETC FormatOf(int format, DWORD tymed) {
    return FORMATETC{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, tymed};
}

HGLOBAL GlobalCopy(const Bytes& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    if (!h) return nullptr;
    if (void* p = GlobalLock(h)) {
        if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(h);
        return h;
    }
    GlobalFree(h);
    return nullptr;
}

Bytes BytesOfGlobal(HGLOBAL h) {
    Bytes bytes;
    if (const void* p = GlobalLock(h)) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        bytes.assign(b, b + GlobalSize(h));
        GlobalUnlock(h);
    }
    return bytes;
}

Bytes BytesOfStream(IStream* stream) {
    Bytes bytes;
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    std::uint8_t chunk[16384];
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(chunk, sizeof chunk, &got)) && got > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    return bytes;
}

// The medium's bytes: a memory block or a stream.
std::optional<Bytes> ReadMedium(IDataObject* object, int format) {
    FORMATETC fe = FormatOf(format, TYMED_HGLOBAL | TYMED_ISTREAM);
    STGMEDIUM medium{};
    if (FAILED(object->GetData(&fe, &medium))) return std::nullopt;
    std::optional<Bytes> bytes;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) bytes = BytesOfGlobal(medium.hGlobal);
    else if (medium.tymed == TYMED_ISTREAM && medium.pstm) bytes = BytesOfStream(medium.pstm);
    ReleaseStgMedium(&medium);
    return bytes;
}

}  // namespace

// The host's own IDataObject: an ordered list of formats, each with its bytes or declared for
// rendering on demand.
class DataStore final : public ComObject<IDataObject> {
public:
    explicit DataStore(DataObject::Renderer render) : render_(std::move(render)) {}

    // --- what DataObject calls -----------------------------------------------------------
    void Clear() {
        RequireOpen();
        entries_.clear();
    }
    void Set(int format, std::optional<Bytes> data) {
        Entry* e = Find(format);
        if (!e) {
            RequireOpen();
            entries_.push_back(Entry{format, std::move(data)});
        } else if (data) {
            e->data = std::move(data);
        }
    }
    bool Has(int format) const { return Find(format) != nullptr; }
    // The bytes, rendered on demand first; nothing when the format is absent or the source
    // gave no data for it.
    const Bytes* Get(int format) {
        Entry* e = Find(format);
        if (!e) return nullptr;
        if (!e->data && render_) {
            DataObject self(ComPtr<IDataObject>::Share(this), this);
            DataObject::Renderer render = render_;  // the renderer may end the drag's rendering
            render(self, format);
            e = Find(format);
        }
        return e && e->data ? &*e->data : nullptr;
    }
    void CloseFormats() { open_ = false; }
    void Detach() { render_ = nullptr; }

    // --- IDataObject ---------------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fe, STGMEDIUM* medium) override {
        if (!fe || !medium) return E_INVALIDARG;
        if (HRESULT hr = QueryGetData(fe); hr != S_OK) return hr;
        try {
            const Bytes* bytes = Get(fe->cfFormat);
            if (!bytes) return DV_E_FORMATETC;
            HGLOBAL h = GlobalCopy(*bytes);
            if (!h) return E_OUTOFMEMORY;
            medium->tymed = TYMED_HGLOBAL;
            medium->hGlobal = h;
            medium->pUnkForRelease = nullptr;
            return S_OK;
        } catch (const Error&) {
            return E_UNEXPECTED;  // the source's rendering failed
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fe) override {
        if (!fe) return E_INVALIDARG;
        if (fe->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        if (!(fe->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        return Has(fe->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> list;
        for (const Entry& e : entries_) list.push_back(FormatOf(e.format, TYMED_HGLOBAL));
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.data(), out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    struct Entry {
        int format;
        std::optional<Bytes> data;  // none: declared, rendered on demand
    };

    void RequireOpen() const {
        if (!open_) Raise(672);
    }
    Entry* Find(int format) {
        auto it = std::find_if(entries_.begin(), entries_.end(), [format](const Entry& e) { return e.format == format; });
        return it == entries_.end() ? nullptr : &*it;
    }
    const Entry* Find(int format) const { return const_cast<DataStore*>(this)->Find(format); }

    std::vector<Entry> entries_;
    DataObject::Renderer render_;
    bool open_ = true;
};

DataObject DataObject::CreateForDrag(Renderer render) {
    auto* store = new DataStore(std::move(render));
    return DataObject(ComPtr<IDataObject>::Attach(store), store);
}

DataObject DataObject::Wrap(IDataObject* object) { return DataObject(ComPtr<IDataObject>::Share(object), nullptr); }

void DataObject::Clear() {
    if (!store_) Raise(672);
    store_->Clear();
}

bool DataObject::GetFormat(int format) const {
    CheckFormat(format);
    if (store_) return store_->Has(format);
    if (!object_) return false;
    FORMATETC fe = FormatOf(format, TYMED_HGLOBAL);
    if (object_->QueryGetData(&fe) == S_OK) return true;
    fe.tymed = TYMED_ISTREAM;
    return object_->QueryGetData(&fe) == S_OK;
}

Bytes DataObject::GetData(int format) const {
    CheckFormat(format);
    if (store_) {
        if (const Bytes* bytes = store_->Get(format)) return *bytes;
        Raise(461);
    }
    if (object_)
        if (std::optional<Bytes> bytes = ReadMedium(object_.Get(), format)) return std::move(*bytes);
    Raise(461);
}

void DataObject::SetData(int format) {
    CheckFormat(format);
    if (!store_) Raise(672);
    store_->Set(format, std::nullopt);
}

void DataObject::SetData(Bytes data, int format) {
    CheckFormat(format);
    if (!store_) Raise(672);
    store_->Set(format, std::move(data));
}

std::vector<std::wstring> DataObject::Files() const {
    std::vector<std::wstring> paths;
    if (!GetFormat(CF_HDROP)) return paths;
    Bytes block = GetData(CF_HDROP);
    if (block.size() < sizeof(DROPFILES)) return paths;
    DROPFILES header;
    std::memcpy(&header, block.data(), sizeof header);
    if (header.pFiles >= block.size()) return paths;
    // A list of NUL-terminated names ending with an empty one, wide or in the ANSI code page.
    const std::uint8_t* p = block.data() + header.pFiles;
    const std::uint8_t* end = block.data() + block.size();
    if (header.fWide) {
        std::wstring name;
        for (; p + 1 < end; p += 2) {
            wchar_t c = static_cast<wchar_t>(p[0] | (p[1] << 8));
            if (c != L'\0') {
                name.push_back(c);
            } else if (name.empty()) {
                break;
            } else {
                paths.push_back(std::move(name));
                name.clear();
            }
        }
    } else {
        std::string name;
        auto flush = [&] {
            int n = MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
            std::wstring wide(static_cast<size_t>(n), L'\0');
            MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), n);
            paths.push_back(std::move(wide));
            name.clear();
        };
        for (; p < end; ++p) {
            if (*p != 0) name.push_back(static_cast<char>(*p));
            else if (name.empty()) break;
            else flush();
        }
    }
    return paths;
}

void DataObject::Files(const std::vector<std::wstring>& paths) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    Bytes block(sizeof header);
    std::memcpy(block.data(), &header, sizeof header);
    auto put = [&block](wchar_t c) {
        block.push_back(static_cast<std::uint8_t>(c & 0xFF));
        block.push_back(static_cast<std::uint8_t>(c >> 8));
    };
    for (const std::wstring& path : paths) {
        if (path.empty()) continue;  // an empty name would end the list early
        for (wchar_t c : path) put(c);
        put(L'\0');
    }
    put(L'\0');
    if (paths.empty()) put(L'\0');
    SetData(std::move(block), CF_HDROP);
}

std::wstring DataObject::Text() const {
    if (GetFormat(CF_UNICODETEXT)) {
        Bytes b = GetData(CF_UNICODETEXT);
        std::wstring s(b.size() / sizeof(wchar_t), L'\0');
        std::memcpy(s.data(), b.data(), s.size() * sizeof(wchar_t));
        return s.substr(0, s.find(L'\0'));
    }
    if (GetFormat(CF_TEXT)) {
        Bytes b = GetData(CF_TEXT);
        const char* p = reinterpret_cast<const char*>(b.data());
        int len = static_cast<int>(strnlen(p, b.size()));
        int n = MultiByteToWideChar(CP_ACP, 0, p, len, nullptr, 0);
        std::wstring s(static_cast<size_t>(n), L'\0');
        MultiByteToWideChar(CP_ACP, 0, p, len, s.data(), n);
        return s;
    }
    return {};
}

void DataObject::Text(const std::wstring& text) {
    Bytes unicode, ansi;
    if (!text.empty()) {
        unicode.assign((text.size() + 1) * sizeof(wchar_t), 0);
        std::memcpy(unicode.data(), text.c_str(), text.size() * sizeof(wchar_t));
        int length = static_cast<int>(text.size());
        int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
        ansi.assign(static_cast<size_t>(n) + 1, 0);
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, reinterpret_cast<char*>(ansi.data()), n, nullptr, nullptr);
    }
    SetData(std::move(unicode), CF_UNICODETEXT);
    SetData(std::move(ansi), CF_TEXT);
}

void DataObject::CloseFormats() {
    if (store_) store_->CloseFormats();
}

void DataObject::Detach() {
    if (store_) store_->Detach();
}

}  // namespace host
