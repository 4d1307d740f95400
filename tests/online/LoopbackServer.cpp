#include "LoopbackServer.h"

#include <QHostAddress>
#include <stdexcept>

namespace vellora::test {
namespace {

constexpr qsizetype kMaxHeaderBytes = 64 * 1024;
constexpr qsizetype kMaxBodyBytes = 16 * 1024 * 1024;

}  // namespace

QByteArray RecordedRequest::Header(const QByteArray& name) const {
  for (const auto& [key, value] : headers)
    if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
  return {};
}

int RecordedRequest::HeaderCount(const QByteArray& name) const {
  int count = 0;
  for (const auto& header : headers)
    if (header.first.compare(name, Qt::CaseInsensitive) == 0) ++count;
  return count;
}

ScriptedReply ScriptedReply::Ok(QByteArray body) {
  ScriptedReply reply;
  reply.body = std::move(body);
  return reply;
}

ScriptedReply ScriptedReply::Status(int status, QByteArray body) {
  ScriptedReply reply;
  reply.status = status;
  reply.reason = status >= 400 ? "Error" : "Other";
  reply.body = std::move(body);
  return reply;
}

ScriptedReply ScriptedReply::Redirect(int status, QByteArray location) {
  ScriptedReply reply = Status(status, "moved");
  reply.reason = "Moved";
  reply.headers.append(qMakePair(QByteArray("Location"), std::move(location)));
  return reply;
}

LoopbackServer::LoopbackServer() {
  if (!server_.listen(QHostAddress::LocalHost, 0))
    throw std::runtime_error("cannot listen on 127.0.0.1");
  connect(&server_, &QTcpServer::newConnection, this, &LoopbackServer::Accept);
}

LoopbackServer::~LoopbackServer() {
  server_.close();
  CloseAll();
}

std::string LoopbackServer::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(Port());
}

void LoopbackServer::Route(const QByteArray& target, ScriptedReply reply) {
  routes_[target] = std::move(reply);
}

std::size_t LoopbackServer::StalledCount() const {
  std::size_t count = 0;
  for (const auto& [socket, connection] : connections_)
    if (connection.stalled && connection.socket) ++count;
  return count;
}

void LoopbackServer::Release() {
  for (auto& [socket, connection] : connections_) {
    if (!connection.stalled || !connection.socket) continue;
    connection.stalled = false;
    connection.socket->write(connection.pendingRest);
    connection.pendingRest.clear();
  }
}

void LoopbackServer::CloseAll() {
  for (auto& [socket, connection] : connections_)
    if (connection.socket) connection.socket->abort();
}

void LoopbackServer::Accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    connections_[socket].socket = socket;
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
      auto found = connections_.find(socket);
      if (found != connections_.end()) Read(found->second);
    });
    // Erased later: a close can happen in the middle of reading or answering.
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      QMetaObject::invokeMethod(
          this, [this, socket] { connections_.erase(socket); }, Qt::QueuedConnection);
      socket->deleteLater();
    });
  }
}

void LoopbackServer::Read(Connection& connection) {
  QTcpSocket* socket = connection.socket;
  if (socket == nullptr) return;
  connection.buffer += socket->readAll();
  for (;;) {
    const qsizetype headerEnd = connection.buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
      if (connection.buffer.size() > kMaxHeaderBytes) socket->abort();
      return;
    }
    const QList<QByteArray> lines = connection.buffer.left(headerEnd).split('\n');
    RecordedRequest request;
    const QList<QByteArray> start = lines.value(0).trimmed().split(' ');
    request.method = start.value(0);
    request.target = start.value(1);
    qsizetype length = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
      const QByteArray line = lines[i].trimmed();
      const qsizetype colon = line.indexOf(':');
      if (colon <= 0) continue;
      request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    length = request.Header("Content-Length").toLongLong();
    if (length < 0 || length > kMaxBodyBytes) {
      socket->abort();
      return;
    }
    if (connection.buffer.size() < headerEnd + 4 + length) return;
    request.body = connection.buffer.mid(headerEnd + 4, length);
    connection.buffer.remove(0, headerEnd + 4 + length);
    requests_.push_back(request);
    const int index = static_cast<int>(requests_.size()) - 1;
    emit RequestReceived(index);
    if (connection.socket == nullptr ||
        connection.socket->state() != QAbstractSocket::ConnectedState)
      return;
    Answer(connection, request);
    emit AnswerSent(index);
    if (connection.socket == nullptr || connection.stalled ||
        connection.socket->state() != QAbstractSocket::ConnectedState)
      return;
  }
}

void LoopbackServer::Answer(Connection& connection, const RecordedRequest& request) {
  ScriptedReply reply;
  if (const auto route = routes_.find(request.target); route != routes_.end()) {
    reply = route->second;
  } else if (script_) {
    reply = script_(request);
  } else {
    reply = ScriptedReply::Status(404, "not found");
  }
  QTcpSocket* socket = connection.socket;
  using Ending = ScriptedReply::Ending;
  if (reply.ending == Ending::Abort) {
    socket->abort();
    return;
  }
  QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reply.reason + "\r\n";
  for (const auto& [name, value] : reply.headers) head += name + ": " + value + "\r\n";
  switch (reply.ending) {
    case Ending::Complete:
      head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
      break;
    case Ending::Stall:
      head +=
          "Content-Length: " + QByteArray::number(reply.body.size() + reply.rest.size()) + "\r\n";
      break;
    case Ending::Truncate:
      head += "Content-Length: " + QByteArray::number(reply.body.size() + 100) + "\r\n";
      break;
    case Ending::NoLengthClose:
      head += "Connection: close\r\n";
      break;
    case Ending::Abort:
      break;
  }
  head += "\r\n";
  socket->write(head + reply.body);
  if (reply.ending == Ending::Stall) {
    connection.stalled = true;
    connection.pendingRest = reply.rest;
  } else if (reply.ending == Ending::Truncate || reply.ending == Ending::NoLengthClose) {
    socket->disconnectFromHost();
  }
}

}  // namespace vellora::test
