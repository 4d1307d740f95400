// A scripted HTTP server on 127.0.0.1 inside the test process: it records every request
// (method, target, headers, raw body) and answers with scripted statuses, headers, redirects,
// cookies, stalled or truncated bodies and abrupt closes.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vellora::test {

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

struct RecordedRequest {
  QByteArray method;
  QByteArray target;  // path and query as sent
  HeaderList headers;
  QByteArray body;

  // The first header of that name (case-insensitive), or empty.
  QByteArray Header(const QByteArray& name) const;
  int HeaderCount(const QByteArray& name) const;
  std::string Path() const { return target.toStdString(); }
};

struct ScriptedReply {
  enum class Ending {
    Complete,       // the whole body with its Content-Length
    Stall,          // Content-Length of body + rest, only body sent; rest waits for Release()
    Truncate,       // Content-Length larger than the body, then the connection closes
    NoLengthClose,  // no Content-Length; the body ends when the connection closes
    Abort,          // no answer at all: the connection is closed at once
  };
  int status = 200;
  QByteArray reason = "OK";
  HeaderList headers;
  QByteArray body;
  QByteArray rest;  // Stall: sent by Release()
  Ending ending = Ending::Complete;

  static ScriptedReply Ok(QByteArray body);
  static ScriptedReply Status(int status, QByteArray body = {});
  static ScriptedReply Redirect(int status, QByteArray location);
};

class LoopbackServer : public QObject {
  Q_OBJECT

 public:
  using Script = std::function<ScriptedReply(const RecordedRequest&)>;

  LoopbackServer();
  ~LoopbackServer() override;

  quint16 Port() const { return server_.serverPort(); }
  // "http://127.0.0.1:<port>"
  std::string BaseUrl() const;

  // Answers requests for an exact target; other targets get 404 unless a script is set.
  void Route(const QByteArray& target, ScriptedReply reply);
  void SetScript(Script script) { script_ = std::move(script); }

  const std::vector<RecordedRequest>& Requests() const { return requests_; }
  std::size_t RequestCount() const { return requests_.size(); }
  std::size_t StalledCount() const;
  // Sends the rest of every stalled answer.
  void Release();
  // Closes every connection at once.
  void CloseAll();

 signals:
  void RequestReceived(int index);
  void AnswerSent(int index);

 private:
  struct Connection {
    QPointer<QTcpSocket> socket;
    QByteArray buffer;
    QByteArray pendingRest;
    bool stalled = false;
  };

  void Accept();
  void Read(Connection& connection);
  void Answer(Connection& connection, const RecordedRequest& request);

  QTcpServer server_;
  std::map<QTcpSocket*, Connection> connections_;
  std::map<QByteArray, ScriptedReply> routes_;
  Script script_;
  std::vector<RecordedRequest> requests_;
};

}  // namespace vellora::test
