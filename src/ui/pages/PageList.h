#pragma once

#include <memory>
#include <vector>

#include "ui/pages/PagePlugin.h"

namespace pondrel {

class GrowthCurves;
class PageHost;

// The pages of the main form, in one list: built in order into the bands of a PageHost once
// the bands exist, destroyed in the reverse order. A new page is one more entry in PageList.cpp
// (build it, register its FormPage with the controller, add it to the list); the form itself
// does not change.
class PageList {
public:
    // Builds every page into `host`, which must outlive the list.
    explicit PageList(PageHost& host);
    ~PageList();
    PageList(const PageList&) = delete;
    PageList& operator=(const PageList&) = delete;

    // Every piece, in the order it was built.
    const std::vector<PagePlugin*>& Plugins() const { return m_plugins; }
    // The piece of class T, if there is one.
    template <class T>
    T* Find() const {
        for (PagePlugin* plugin : m_plugins) {
            if (auto* found = dynamic_cast<T*>(plugin)) return found;
        }
        return nullptr;
    }
    // The growth curve sets, read once when the pages are built.
    const GrowthCurves& Curves() const { return *m_curves; }

private:
    template <class T>
    T& Add(std::unique_ptr<T> piece);

    std::unique_ptr<GrowthCurves> m_curves;
    std::vector<std::unique_ptr<PagePlugin>> m_owned;
    std::vector<PagePlugin*> m_plugins;
};

}  // namespace pondrel
