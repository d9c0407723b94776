#pragma once

#include <QWebEngineUrlSchemeHandler>

namespace glintbox {

class PageFiles;

// Registers the local page scheme with the browser engine; must run before
// the engine starts, and may run more than once.
void registerLocalPageScheme();

// Answers the engine's requests of the local page scheme with what the host
// serves.
class LocalPageSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    explicit LocalPageSchemeHandler(PageFiles &pages, QObject *parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    PageFiles &m_pages;
};

} // namespace glintbox
