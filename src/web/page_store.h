#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace examora {

// What the question-page origin serves: the latest HTML of every page view of every tab, and the
// two folders a page may refer to (the resource folder under "r/", the picture folder under
// "i/"). A page's "file://" addresses into those folders are rewritten, as the page is served, to
// paths of the page origin; the stored texts stay as the session built them.
//
// Thread-safe: the main queue stores pages while the page origin's workers serve them.
class PageStore {
  public:
    PageStore(std::string resourceDir, std::string pictureDir);

    // A new page view's id, never reused.
    int newPageId();
    // Stores the HTML shown by a page view and returns its load number (1, 2, …).
    int store(int pageId, std::string html);
    void remove(int pageId);
    // The stored HTML with its load number; nullopt for an unknown or removed page.
    std::optional<std::pair<int, std::string>> page(int pageId) const;

    // The page as served under `prefix` (the page origin's token path, without a trailing "/"):
    // the prelude first, then the page with its resource and picture addresses rewritten.
    std::string servedPage(int pageId, const std::string& prefix,
                           const std::string& appOrigin) const;
    // The file for a path below "r/" or "i/" of the page origin; nullopt for anything outside the
    // two folders (a "..", an absolute path, a link leading out, a folder, a missing file).
    std::optional<std::filesystem::path> file(std::string_view folder,
                                              std::string_view relative) const;

    // Rewrites "file://<folder>/" (blanks raw or as "%20") of the two folders to prefix + "/r/"
    // and prefix + "/i/".
    static std::string rewriteFileUrls(const std::string& html, const std::string& resourceDir,
                                       const std::string& pictureDir, const std::string& prefix);
    // The file below root that relative names, when it is a regular file inside root after every
    // link is resolved.
    static std::optional<std::filesystem::path> resolveInside(const std::filesystem::path& root,
                                                              std::string_view relative);
    // The script put before a page's own markup: reports "ios://" navigations (and refuses every
    // other one but the blank page) to the parent at appOrigin, runs scripts the parent posts
    // from appOrigin, reports when it has loaded, forwards keys, and tells the parent when a
    // touch, wheel or press starts (a swipe over the page moves the pager).
    static std::string prelude(const std::string& appOrigin, int pageId, int loadNumber);

  private:
    std::string resourceDir_;
    std::string pictureDir_;
    mutable std::mutex mutex_;
    int nextId_ = 1;
    std::map<int, std::pair<int, std::string>> pages_;
};

}  // namespace examora
