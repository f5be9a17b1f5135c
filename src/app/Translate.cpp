#include "app/Translate.h"

#include "app/CApp.h"

std::wstring translate(std::wstring_view id) {
    if (CApp* app = CApp::instance())
        return app->language().translate(id);
    return std::wstring(id);
}
