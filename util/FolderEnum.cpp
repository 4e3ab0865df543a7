// Folder listings through the scripting runtime's file system object, in the order it delivers.

#include "util/clsUtil.h"

#include "util/Dispatch.h"
#include "util/Existence.h"

namespace {

std::wstring JoinedNames(const std::wstring& folderPath, const wchar_t* collectionName) {
    if (folderPath.empty() || !util::FolderExists(folderPath)) return L"";
    util::ComInit com;
    util::ComPtr<IDispatch> fileSystem = util::CreateObject(L"Scripting.FileSystemObject");

    util::Bstr path(folderPath);
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = path.Get();  // still owned by `path`
    util::Variant result;
    util::CallMember(fileSystem.Get(), L"GetFolder", DISPATCH_METHOD, &argument, result);
    util::ComPtr<IDispatch> folder = util::ObjectOf(result);
    util::CallMember(folder.Get(), collectionName, DISPATCH_PROPERTYGET, nullptr, result);
    util::ComPtr<IDispatch> collection = util::ObjectOf(result);

    util::ComPtr<IEnumVARIANT> entries = util::EnumeratorOf(collection.Get());
    std::wstring joined;
    bool first = true;
    for (;;) {
        util::Variant entry;
        ULONG fetched = 0;
        if (entries->Next(1, entry.Get(), &fetched) != S_OK || fetched == 0) break;
        util::ComPtr<IDispatch> item = util::ObjectOf(entry);
        util::CallMember(item.Get(), L"Name", DISPATCH_PROPERTYGET, nullptr, result);
        if (!first) joined += L'|';
        joined += util::TextOf(result);
        first = false;
    }
    return joined;
}

}  // namespace

std::wstring clsUtil::EnumFilesInFolder(const std::wstring& FolderPath) const {
    return JoinedNames(FolderPath, L"Files");
}

std::wstring clsUtil::EnumSubFoldersInFolder(const std::wstring& FolderPath) const {
    return JoinedNames(FolderPath, L"SubFolders");
}
