#pragma once
// A CDDB server on 127.0.0.1 for the client tests: it answers "cddb query"
// and "cddb read" requests with replies the test sets, and remembers what
// it was asked.
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "LocalHttpServer.h"
#include "freedb/Ufreedb.h"

inline std::string CddbReply(const std::string& name) {
    std::ifstream in(std::string(MAVELO_TEST_DATA) + "/cddb/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CddbServer {
  public:
    // A whole HTTP answer ("" keeps the connection silent) for the query and
    // for reads by "category+discid".
    std::string Query = LocalHttpServer::Ok(CddbReply("query_202_none.txt"));
    std::map<std::string, std::string> Reads;

    CddbServer() : http_([this](const std::string& request) { return Answer(request); }) {}

    std::string Url() const { return http_.Url("/~cddb/cddb.cgi"); }
    TFreeDBServer Server() const { return {Url(), "tester", "testhost", {}, 2000, 2000}; }
    std::vector<std::string> Targets() const { return http_.Targets(); }
    int Requests() const { return http_.Requests(); }
    // The commands of the requests made ("cddb+read+rock+14026c03").
    std::vector<std::string> Commands() const {
        std::vector<std::string> commands;
        for (const auto& t : Targets()) {
            const auto start = t.find("cmd=");
            if (start != std::string::npos)
                commands.push_back(t.substr(start + 4, t.find('&', start) - start - 4));
        }
        return commands;
    }

  private:
    std::string Answer(const std::string& request) {
        const std::string target = LocalHttpServer::Target(request);
        if (target.starts_with("/moved"))  // a server that moved its script
            return LocalHttpServer::Response(
                "301 Moved Permanently",
                "Location: /~cddb/cddb.cgi" + target.substr(target.find('?')) + "\r\n", "");
        const std::string readPrefix = "cmd=cddb+read+";
        if (auto p = target.find(readPrefix); p != std::string::npos) {
            const auto key =
                target.substr(p + readPrefix.size(), target.find('&', p) - p - readPrefix.size());
            auto it = Reads.find(key);
            return it != Reads.end() ? it->second
                                     : LocalHttpServer::Ok(CddbReply("read_401_missing.txt"));
        }
        return Query;
    }

    LocalHttpServer http_;
};
