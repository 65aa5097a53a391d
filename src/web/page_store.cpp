// PageStore: the question pages and folders that the page origin serves.

#include "web/page_store.h"

#include <system_error>

#include "platform/text_util.h"

namespace examora {

namespace fs = std::filesystem;

PageStore::PageStore(std::string resourceDir, std::string pictureDir)
    : resourceDir_(std::move(resourceDir)), pictureDir_(std::move(pictureDir)) {}

int PageStore::newPageId() {
    std::lock_guard lock(mutex_);
    return nextId_++;
}

int PageStore::store(int pageId, std::string html) {
    std::lock_guard lock(mutex_);
    auto& entry = pages_[pageId];
    entry.first += 1;
    entry.second = std::move(html);
    return entry.first;
}

void PageStore::remove(int pageId) {
    std::lock_guard lock(mutex_);
    pages_.erase(pageId);
}

std::optional<std::pair<int, std::string>> PageStore::page(int pageId) const {
    std::lock_guard lock(mutex_);
    const auto it = pages_.find(pageId);
    if (it == pages_.end()) return std::nullopt;
    return it->second;
}

std::string PageStore::servedPage(int pageId, const std::string& prefix,
                                  const std::string& appOrigin) const {
    auto stored = page(pageId);
    if (!stored) return std::string();
    return prelude(appOrigin, pageId, stored->first) +
           rewriteFileUrls(stored->second, resourceDir_, pictureDir_, prefix);
}

std::optional<fs::path> PageStore::file(std::string_view folder, std::string_view relative) const {
    if (folder == "r") return resolveInside(resourceDir_, relative);
    if (folder == "i") return resolveInside(pictureDir_, relative);
    return std::nullopt;
}

std::string PageStore::rewriteFileUrls(const std::string& html, const std::string& resourceDir,
                                       const std::string& pictureDir, const std::string& prefix) {
    std::string out = html;
    const auto rewrite = [&](const std::string& dir, const std::string& to) {
        if (dir.empty()) return;
        std::string base = dir;
        while (base.size() > 1 && base.back() == '/')
            base.pop_back();
        out = replaceAll(out, "file://" + base + "/", to);
        const std::string blanks = replaceAll(base, " ", "%20");
        if (blanks != base) out = replaceAll(out, "file://" + blanks + "/", to);
    };
    // The longer folder first, so a picture folder inside the resource folder keeps its path.
    if (pictureDir.size() >= resourceDir.size()) {
        rewrite(pictureDir, prefix + "/i/");
        rewrite(resourceDir, prefix + "/r/");
    } else {
        rewrite(resourceDir, prefix + "/r/");
        rewrite(pictureDir, prefix + "/i/");
    }
    return out;
}

std::optional<fs::path> PageStore::resolveInside(const fs::path& root, std::string_view relative) {
    if (relative.empty() || relative.front() == '/' ||
        relative.find('\0') != std::string_view::npos ||
        relative.find('\\') != std::string_view::npos) {
        return std::nullopt;
    }
    const fs::path rel{std::string(relative)};
    for (const fs::path& part : rel) {
        if (part == ".." || part == ".") return std::nullopt;
    }
    std::error_code ec;
    const fs::path base = fs::canonical(root, ec);
    if (ec) return std::nullopt;
    const fs::path target = fs::canonical(base / rel, ec);
    if (ec) return std::nullopt;
    // Inside after every link is resolved: the target's path starts with the folder's, part by
    // part.
    auto b = base.begin();
    auto t = target.begin();
    for (; b != base.end(); ++b, ++t) {
        if (t == target.end() || *b != *t) return std::nullopt;
    }
    if (t == target.end() || !fs::is_regular_file(target, ec)) return std::nullopt;
    return target;
}

std::string PageStore::prelude(const std::string& appOrigin, int pageId, int loadNumber) {
    // Kept in step with resources/web/page_view.js, which reads these messages.
    return "<script>(function(){\n"
           "var APP=\"" +
           appOrigin + "\",PAGE=" + std::to_string(pageId) + ",LOAD=" + std::to_string(loadNumber) +
           ";\n"
           "function send(m){m.page=PAGE;m.load=LOAD;parent.postMessage(m,APP);}\n"
           "if(window.navigation){navigation.addEventListener('navigate',function(e){\n"
           " var u=e.destination.url;\n"
           " if(u.indexOf('about:blank')>=0)return;\n"
           " if(e.cancelable)e.preventDefault();\n"
           " if(/^ios:/i.test(u))send({link:u});\n"
           "});}\n"
           "window.addEventListener('message',function(e){\n"
           " if(e.origin!==APP||e.source!==parent)return;\n"
           " var d=e.data;if(!d||typeof d.script!=='string')return;\n"
           " var s=document.createElement('script');s.textContent=d.script;\n"
           " (document.body||document.documentElement).appendChild(s);s.remove();\n"
           "});\n"
           "document.addEventListener('keydown',function(e){\n"
           " var t=e.target&&e.target.tagName;\n"
           " if(t==='INPUT'&&e.target.type==='text'||t==='TEXTAREA')return;\n"
           " if(e.ctrlKey||e.metaKey||e.altKey)return;\n"
           " if(!/^(ArrowLeft|ArrowRight|Enter|Escape|\\?|[a-gA-GnN])$/.test(e.key))return;\n"
           " send({key:e.key});e.preventDefault();\n"
           "});\n"
           "var last=0;['touchstart','wheel','pointerdown'].forEach(function(t){\n"
           " addEventListener(t,function(){var "
           "n=Date.now();if(n-last>150){last=n;send({gesture:true});}},\n"
           "  {passive:true,capture:true});\n"
           "});\n"
           "window.addEventListener('load',function(){send({ready:true});});\n"
           "})();</script>\n";
}

}  // namespace examora
