#pragma once
// Pieces of grammar text that several languages share word for word.

// Expression layering shared by all four languages.
#define QS_EXPRESSION_RULES \
    "  <expression node=\"expr\">\n" \
    "    <simpleexpression/>\n" \
    "    <optionalloop><relop/><simpleexpression/></optionalloop>\n" \
    "  </expression>\n" \
    "  <simpleexpression>\n" \
    "    <optional><char text=\"-\" add=\"op\" addtext=\"unminus\"/></optional>\n" \
    "    <term/>\n" \
    "    <optionalloop><addop/><term/></optionalloop>\n" \
    "  </simpleexpression>\n" \
    "  <term>\n" \
    "    <factor/>\n" \
    "    <optionalloop><mulop/><factor/></optionalloop>\n" \
    "  </term>\n"

// Compound assignment, ++ and --, shared by D++Iraved, DevavAraroz and JScript.
#define QS_ASSIGN_CALL_RULES \
    "  <assignstmt node=\"assignstmt\">\n" \
    "    <designator/>\n" \
    "    <switch>\n" \
    "      <sequence><char text=\"+\" add=\"modificator\"/><char text=\"=\" skip=\"0\"/></sequence>\n" \
    "      <sequence><char text=\"-\" add=\"modificator\"/><char text=\"=\" skip=\"0\"/></sequence>\n" \
    "      <sequence><char text=\"*\" add=\"modificator\"/><char text=\"=\" skip=\"0\"/></sequence>\n" \
    "      <sequence><char text=\"/\" add=\"modificator\"/><char text=\"=\" skip=\"0\"/></sequence>\n" \
    "      <char text=\"=\"/>\n" \
    "    </switch>\n" \
    "    <expression err=\"err2\"/>\n" \
    "  </assignstmt>\n" \
    "  <callstmt node=\"callstmt\">\n" \
    "    <designator/>\n" \
    "    <optionalswitch>\n" \
    "      <sequence><char text=\"+\"/><char text=\"+\" add=\"modificator\" skip=\"0\"/></sequence>\n" \
    "      <sequence><char text=\"-\"/><char text=\"-\" add=\"modificator\" skip=\"0\"/></sequence>\n" \
    "    </optionalswitch>\n" \
    "  </callstmt>\n"

// Operators written in the C manner (D++Iraved and JScript).
#define QS_C_OPERATOR_RULES \
    "  <relop>\n" \
    "    <switch>\n" \
    "      <sequence><char text=\"&#62;\"/><char text=\"=\" add=\"op\" addtext=\"&#62;=\" skip=\"0\"/></sequence>\n" \
    "      <sequence><char text=\"&#60;\"/><char text=\"=\" add=\"op\" addtext=\"&#60;=\" skip=\"0\"/></sequence>\n" \
    "      <char text=\"&#62;\" add=\"op\" addtext=\"&#62;\"/>\n" \
    "      <char text=\"&#60;\" add=\"op\" addtext=\"&#60;\"/>\n" \
    "      <sequence><char text=\"=\"/><char text=\"=\" add=\"op\" addtext=\"=\" skip=\"0\"/></sequence>\n" \
    "      <sequence><char text=\"!\"/><char text=\"=\" add=\"op\" addtext=\"&#60;&#62;\" skip=\"0\"/></sequence>\n" \
    "      <keyword text=\"in\" add=\"op\" addtext=\"in\"/>\n" \
    "      <keyword text=\"is\" add=\"op\" addtext=\"is\"/>\n" \
    "    </switch>\n" \
    "  </relop>\n" \
    "  <addop>\n" \
    "    <switch>\n" \
    "      <char text=\"+\" add=\"op\"/>\n" \
    "      <char text=\"-\" add=\"op\"/>\n" \
    "      <sequence><char text=\"|\"/><char text=\"|\" add=\"op\" addtext=\"or\"/></sequence>\n" \
    "      <char text=\"^\" add=\"op\" addtext=\"xor\"/>\n" \
    "    </switch>\n" \
    "  </addop>\n" \
    "  <mulop>\n" \
    "    <switch>\n" \
    "      <char text=\"*\" add=\"op\"/>\n" \
    "      <char text=\"/\" add=\"op\"/>\n" \
    "      <keyword text=\"div\" add=\"op\" addtext=\"div\"/>\n" \
    "      <char text=\"%\" add=\"op\" addtext=\"mod\"/>\n" \
    "      <sequence><char text=\"&#38;\"/><char text=\"&#38;\" add=\"op\" addtext=\"and\"/></sequence>\n" \
    "      <sequence><char text=\"&#60;\"/><char text=\"&#60;\" add=\"op\" addtext=\"shl\" skip=\"0\"/></sequence>\n" \
    "      <sequence><char text=\"&#62;\"/><char text=\"&#62;\" add=\"op\" addtext=\"shr\" skip=\"0\"/></sequence>\n" \
    "    </switch>\n" \
    "  </mulop>\n"

// Factor, sets and new of the C-like languages (D++Iraved and JScript).
#define QS_C_FACTOR_RULES \
    "  <factor>\n" \
    "    <switch>\n" \
    "      <designator/>\n" \
    "      <number add=\"number\"/>\n" \
    "      <string add=\"string\"/>\n" \
    "      <sequence>\n" \
    "        <char text=\"(\" add=\"op\"/><expression err=\"err2\"/><char text=\")\" add=\"op\" err=\"err7\"/>\n" \
    "      </sequence>\n" \
    "      <sequence><char text=\"!\" add=\"op\" addtext=\"not\"/><factor err=\"err2\"/></sequence>\n" \
    "      <sequence><char text=\"[\"/><setconstructor err=\"err2\"/><char text=\"]\" err=\"err8\"/></sequence>\n" \
    "      <newoperator/>\n" \
    "      <sequence><char text=\"&#60;\"/><frstring/><char text=\"&#62;\" err=\"err20\"/></sequence>\n" \
    "    </switch>\n" \
    "  </factor>\n" \
    "  <setconstructor node=\"set\">\n" \
    "    <loop text=\",\"><setnode/></loop>\n" \
    "  </setconstructor>\n" \
    "  <setnode>\n" \
    "    <expression/>\n" \
    "    <optional><char text=\".\"/><char text=\".\" add=\"range\"/><expression/></optional>\n" \
    "  </setnode>\n" \
    "  <newoperator node=\"new\">\n" \
    "    <keyword text=\"new\"/>\n" \
    "    <designator err=\"err2\"/>\n" \
    "  </newoperator>\n"
