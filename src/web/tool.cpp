// The page's calculation run natively, to compare with the WebAssembly one:
//   recibo_web_tool              one request a line on stdin
//                                ({"input":{...},"teacher":"","dateLine":"","comment":""}),
//                                one answer a line on stdout: {"result":<calculation>,"text":"<slip text>"}
//   recibo_web_tool --catalogue  the catalogue as the page receives it
//   recibo_web_tool --scale      the seniority bands and zones as the page receives them

#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "web/binding.h"
#include "web/json.h"

int main(int argc, char **argv)
{
    const std::string_view option = argc > 1 ? argv[1] : "";
    if (option == "--catalogue") {
        std::cout << recibo::web::catalogueJson() << '\n';
        return 0;
    }
    if (option == "--scale") {
        std::cout << recibo::web::scaleJson() << '\n';
        return 0;
    }
    if (!option.empty()) {
        std::cerr << "usage: recibo_web_tool [--catalogue | --scale] < requests\n";
        return 2;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::optional<recibo::web::JsonValue> request = recibo::web::parseJson(line);
        const recibo::web::JsonValue none;
        const recibo::web::JsonValue *input = request ? request->find("input") : nullptr;
        std::string answer = "{\"result\":";
        answer += recibo::web::calculateJson(input ? *input : none);
        answer += ",\"text\":";
        recibo::web::appendJsonString(answer, recibo::web::slipTextFor(request ? *request : none));
        answer += "}\n";
        std::cout << answer;
    }
    return 0;
}
