// FrmGallery: the gallery's index. Lists the pages (one per library control); choosing one opens
// that page beside the index, in place of the page shown before.
#pragma once

#include "gallery/GalleryPage.h"
#include "host/Form.h"

#include <memory>
#include <string>

namespace gallery {

class FrmGallery : public host::Form {
public:
    FrmGallery();
    ~FrmGallery() override;

    // Selects the page in the index and shows it; false when there is no page of that name.
    bool ShowPage(std::wstring_view name);
    // The page shown now, or null.
    GalleryPage* CurrentPage() const { return page_.get(); }

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void lstPages_Click();
    void OpenPage(const PageInfo& info);

    std::unique_ptr<GalleryPage> page_;
    std::wstring pageName_;
};

}  // namespace gallery
