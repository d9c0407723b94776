#include "LocalPageSchemeHandler.h"

#include "viewing/web/BrowserEngine.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace glintbox {

void registerLocalPageScheme()
{
    if (QWebEngineUrlScheme::schemeByName(LocalPageScheme).name() == LocalPageScheme)
        return;
    QWebEngineUrlScheme scheme(LocalPageScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Every document gets an origin of its own, so a script reads no other
    // file, beside it or not.
    scheme.setFlags(QWebEngineUrlScheme::NoAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

LocalPageSchemeHandler::LocalPageSchemeHandler(PageFiles &pages, QObject *parent)
    : QWebEngineUrlSchemeHandler(parent)
    , m_pages(pages)
{
}

void LocalPageSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job)
{
    PageFiles::Reply reply = m_pages.serve(job->requestUrl());
    switch (reply.outcome) {
    case PageFiles::Outcome::Served: {
        auto *content = new QBuffer(job);
        content->setData(std::move(reply.content));
        content->open(QIODevice::ReadOnly);
        job->reply(reply.contentType, content);
        return;
    }
    case PageFiles::Outcome::NotFound:
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    case PageFiles::Outcome::Denied:
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    case PageFiles::Outcome::Failed:
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        return;
    }
}

} // namespace glintbox
