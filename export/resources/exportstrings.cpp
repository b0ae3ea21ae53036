// The export filters' captions, descriptions, file-type filters and default extensions (Italian).
#include "export/resources/exportstrings.h"

#include "report/resources/kvlresources.h"

namespace {

// One entry per name; "expMailAddr" twice, the later text holding.
const char kBlock[] = R"xml(<?xml version="1.1" encoding="utf-8"?>
<Resources CodePage="1252">
<StrRes Name="8000" Text="Opzione di esportazione 8000"/>
<StrRes Name="8001" Text="Opzione di esportazione 8001"/>
<StrRes Name="8002" Text="Opzione di esportazione 8002"/>
<StrRes Name="8003" Text="Opzione di esportazione 8003"/>
<StrRes Name="8004" Text="Opzione di esportazione 8004"/>
<StrRes Name="8005" Text="Opzione di esportazione 8005"/>
<StrRes Name="8006" Text="Opzione di esportazione 8006"/>
<StrRes Name="8007" Text="Opzione di esportazione 8007"/>
<StrRes Name="8008" Text="Opzione di esportazione 8008"/>
<StrRes Name="8009" Text="Opzione di esportazione 8009"/>
<StrRes Name="8010" Text="Opzione di esportazione 8010"/>
<StrRes Name="8100" Text="Opzione di esportazione 8100"/>
<StrRes Name="8101" Text="Opzione di esportazione 8101"/>
<StrRes Name="8102" Text="Anteprima"/>
<StrRes Name="8103" Text="Opzione di esportazione 8103"/>
<StrRes Name="8104" Text="Apri il file Excel dopo l'esportazione"/>
<StrRes Name="8105" Text="Opzione di esportazione 8105"/>
<StrRes Name="8106" Text="Opzione di esportazione 8106"/>
<StrRes Name="8200" Text="Opzione di esportazione 8200"/>
<StrRes Name="8201" Text="Opzione di esportazione 8201"/>
<StrRes Name="8202" Text="Opzione di esportazione 8202"/>
<StrRes Name="8203" Text="Opzione di esportazione 8203"/>
<StrRes Name="8204" Text="Opzione di esportazione 8204"/>
<StrRes Name="8205" Text="Opzione di esportazione 8205"/>
<StrRes Name="8206" Text="Opzione di esportazione 8206"/>
<StrRes Name="8207" Text="Opzione di esportazione 8207"/>
<StrRes Name="8208" Text="Opzione di esportazione 8208"/>
<StrRes Name="8209" Text="Opzione di esportazione 8209"/>
<StrRes Name="8210" Text="Opzione di esportazione 8210"/>
<StrRes Name="8211" Text="Opzione di esportazione 8211"/>
<StrRes Name="8300" Text="Opzione di esportazione 8300"/>
<StrRes Name="8301" Text="Opzione di esportazione 8301"/>
<StrRes Name="8302" Text=" Proprietà di esportazione  "/>
<StrRes Name="8303" Text="Opzione di esportazione 8303"/>
<StrRes Name="8304" Text="Set di caratteri OEM"/>
<StrRes Name="8305" Text="Opzione di esportazione 8305"/>
<StrRes Name="8306" Text="Opzione di esportazione 8306"/>
<StrRes Name="8307" Text="Opzione di esportazione 8307"/>
<StrRes Name="8308" Text="Opzione di esportazione 8308"/>
<StrRes Name="8309" Text="Opzione di esportazione 8309"/>
<StrRes Name="8310" Text="Opzione di esportazione 8310"/>
<StrRes Name="8311" Text="Opzione di esportazione 8311"/>
<StrRes Name="8312" Text="Opzione di esportazione 8312"/>
<StrRes Name="8313" Text="Opzione di esportazione 8313"/>
<StrRes Name="8314" Text="Opzione di esportazione 8314"/>
<StrRes Name="8315" Text="Opzione di esportazione 8315"/>
<StrRes Name="8316" Text="Opzione di esportazione 8316"/>
<StrRes Name="8317" Text="Opzione di esportazione 8317"/>
<StrRes Name="8318" Text="Opzione di esportazione 8318"/>
<StrRes Name="8319" Text="Opzione di esportazione 8319"/>
<StrRes Name="8320" Text="Opzione di esportazione 8320"/>
<StrRes Name="8321" Text="Opzione di esportazione 8321"/>
<StrRes Name="8322" Text="Opzione di esportazione 8322"/>
<StrRes Name="8323" Text="Opzione di esportazione 8323"/>
<StrRes Name="8324" Text="Opzione di esportazione 8324"/>
<StrRes Name="8325" Text="Opzione di esportazione 8325"/>
<StrRes Name="8326" Text="Opzione di esportazione 8326"/>
<StrRes Name="8400" Text="Opzione di esportazione 8400"/>
<StrRes Name="8401" Text="Opzione di esportazione 8401"/>
<StrRes Name="8402" Text="Opzione di esportazione 8402"/>
<StrRes Name="8403" Text="Opzione di esportazione 8403"/>
<StrRes Name="8404" Text="Opzione di esportazione 8404"/>
<StrRes Name="8405" Text="Opzione di esportazione 8405"/>
<StrRes Name="8406" Text="Opzione di esportazione 8406"/>
<StrRes Name="8407" Text="Opzione di esportazione 8407"/>
<StrRes Name="8408" Text="Opzione di esportazione 8408"/>
<StrRes Name="8409" Text="Opzione di esportazione 8409"/>
<StrRes Name="8410" Text="Opzione di esportazione 8410"/>
<StrRes Name="8411" Text="Opzione di esportazione 8411"/>
<StrRes Name="8500" Text="Opzione di esportazione 8500"/>
<StrRes Name="8501" Text="Opzione di esportazione 8501"/>
<StrRes Name="8502" Text="Opzione di esportazione 8502"/>
<StrRes Name="8503" Text="Opzione di esportazione 8503"/>
<StrRes Name="8504" Text="Opzione di esportazione 8504"/>
<StrRes Name="8505" Text="Opzione di esportazione 8505"/>
<StrRes Name="8600" Text="Opzione di esportazione 8600"/>
<StrRes Name="8601" Text="Opzione di esportazione 8601"/>
<StrRes Name="8602" Text="Opzione di esportazione 8602"/>
<StrRes Name="8603" Text="Opzione di esportazione 8603"/>
<StrRes Name="8604" Text="Opzione di esportazione 8604"/>
<StrRes Name="8605" Text="Opzione di esportazione 8605"/>
<StrRes Name="8606" Text="Opzione di esportazione 8606"/>
<StrRes Name="8700" Text="Esportazione in formato PDF"/>
<StrRes Name="8701" Text="PDF/A"/>
<StrRes Name="8702" Text="Includi caratteri"/>
<StrRes Name="8703" Text="Stampa ottimizzata"/>
<StrRes Name="8704" Text="Outline"/>
<StrRes Name="8705" Text="Esporta in sottofondo"/>
<StrRes Name="8706" Text="Apri il PDF dopo l'esportazione"/>
<StrRes Name="8707" Text="Adobe PDF file (*.pdf)|*.pdf"/>
<StrRes Name="8708" Text=".pdf"/>
<StrRes Name="8709" Text="Opzione di esportazione 8709"/>
<StrRes Name="RTFexport" Text="File RTF"/>
<StrRes Name="BMPexport" Text="Immagine BMP"/>
<StrRes Name="JPEGexport" Text="Immagine JPEG"/>
<StrRes Name="TIFFexport" Text="Immagine TIFF"/>
<StrRes Name="TextExport" Text="Testo (stampante a matrice)"/>
<StrRes Name="XlsOLEexport" Text="Tabella Excel (OLE)"/>
<StrRes Name="HTMLexport" Text="Documento HTML"/>
<StrRes Name="XlsXMLexport" Text="Tabella Excel (XML)"/>
<StrRes Name="PDFexport" Text="File PDF"/>
<StrRes Name="ProgressWait" Text="Attendere prego"/>
<StrRes Name="ProgressRows" Text="Impostazione righe"/>
<StrRes Name="ProgressColumns" Text="Impostazione colonne"/>
<StrRes Name="ProgressStyles" Text="Impostazione stili"/>
<StrRes Name="ProgressObjects" Text="Esportazione oggetti"/>
<StrRes Name="TIFFexportFilter" Text="File TIFF (*.tif)|*.tif"/>
<StrRes Name="BMPexportFilter" Text="File BMP (*.bmp)|*.bmp"/>
<StrRes Name="JPEGexportFilter" Text="File JPEG (*.jpg)|*.jpg"/>
<StrRes Name="HTMLNavFirst" Text="Prima"/>
<StrRes Name="HTMLNavPrev" Text="Precedente"/>
<StrRes Name="HTMLNavNext" Text="Successiva"/>
<StrRes Name="HTMLNavLast" Text="Ultima"/>
<StrRes Name="HTMLNavRefresh" Text="Aggiorna"/>
<StrRes Name="HTMLNavPrint" Text="Stampa"/>
<StrRes Name="HTMLNavTotal" Text="Pagine totali"/>
<StrRes Name="8800" Text="Opzione di esportazione 8800"/>
<StrRes Name="8801" Text="Opzione di esportazione 8801"/>
<StrRes Name="8802" Text="Opzione di esportazione 8802"/>
<StrRes Name="SimpleTextExport" Text="Testo semplice"/>
<StrRes Name="8850" Text="Export to CSV"/>
<StrRes Name="8851" Text="CSV file (*.csv)|*.csv"/>
<StrRes Name="8852" Text=".csv"/>
<StrRes Name="8853" Text="Separator"/>
<StrRes Name="CSVExport" Text="CSV file"/>
<StrRes Name="8900" Text="Opzione di esportazione 8900"/>
<StrRes Name="8901" Text="Opzione di esportazione 8901"/>
<StrRes Name="8902" Text="Opzione di esportazione 8902"/>
<StrRes Name="8903" Text="Opzione di esportazione 8903"/>
<StrRes Name="8904" Text="Opzione di esportazione 8904"/>
<StrRes Name="8905" Text="Opzione di esportazione 8905"/>
<StrRes Name="8906" Text="Opzione di esportazione 8906"/>
<StrRes Name="8907" Text="Opzione di esportazione 8907"/>
<StrRes Name="8908" Text="Opzione di esportazione 8908"/>
<StrRes Name="8909" Text="Opzione di esportazione 8909"/>
<StrRes Name="8910" Text="Opzione di esportazione 8910"/>
<StrRes Name="8911" Text="Opzione di esportazione 8911"/>
<StrRes Name="8912" Text="Opzione di esportazione 8912"/>
<StrRes Name="8913" Text="Opzione di esportazione 8913"/>
<StrRes Name="8914" Text="Opzione di esportazione 8914"/>
<StrRes Name="8915" Text="Opzione di esportazione 8915"/>
<StrRes Name="8916" Text="Opzione di esportazione 8916"/>
<StrRes Name="8917" Text="Opzione di esportazione 8917"/>
<StrRes Name="8918" Text="Opzione di esportazione 8918"/>
<StrRes Name="8919" Text="Opzione di esportazione 8919"/>
<StrRes Name="8920" Text="Opzione di esportazione 8920"/>
<StrRes Name="8921" Text="Opzione di esportazione 8921"/>
<StrRes Name="8922" Text="Opzione di esportazione 8922"/>
<StrRes Name="8923" Text="Opzione di esportazione 8923"/>
<StrRes Name="8924" Text="Opzione di esportazione 8924"/>
<StrRes Name="EmailExport" Text="Invia per e-mail"/>
<StrRes Name="KorvelleFile" Text="Report preparato"/>
<StrRes Name="GifexportFilter" Text="File GIF (*.gif)|*.gif"/>
<StrRes Name="GIFexport" Text="Immagine GIF"/>
<StrRes Name="8950" Text="Continuo"/>
<StrRes Name="8951" Text="Opzione di esportazione 8951"/>
<StrRes Name="8952" Text="Opzione di esportazione 8952"/>
<StrRes Name="8953" Text="Opzione di esportazione 8953"/>
<StrRes Name="8954" Text="Opzione di esportazione 8954"/>
<StrRes Name="ODSExportFilter" Text="Foglio di calcolo aperto (*.ods)|*.ods"/>
<StrRes Name="ODSExport" Text="Foglio di calcolo aperto"/>
<StrRes Name="ODTExportFilter" Text="Documento di testo aperto (*.odt)|*.odt"/>
<StrRes Name="ODTExport" Text="Documento di testo aperto"/>
<StrRes Name="8960" Text="Opzione di esportazione 8960"/>
<StrRes Name="8961" Text="Opzione di esportazione 8961"/>
<StrRes Name="8962" Text="Sicurezza"/>
<StrRes Name="8963" Text="Opzione di esportazione 8963"/>
<StrRes Name="8964" Text="Parola chiave proprietario"/>
<StrRes Name="8965" Text="Parola chiave utente"/>
<StrRes Name="8966" Text="Permetti la stampa del documento"/>
<StrRes Name="8967" Text="Permetti la modifica del documento"/>
<StrRes Name="8968" Text="Permetti l'estrazione di testi e/o immagini"/>
<StrRes Name="8969" Text="Permetti l'aggiunta e/o la modifica di annotazioni"/>
<StrRes Name="8970" Text="Opzione di esportazione 8970"/>
<StrRes Name="8971" Text=" Informazioni del documento "/>
<StrRes Name="8972" Text="Informazioni"/>
<StrRes Name="8973" Text="Titolo"/>
<StrRes Name="8974" Text="Autore"/>
<StrRes Name="8975" Text="Oggetto"/>
<StrRes Name="8976" Text="Parole chiave"/>
<StrRes Name="8977" Text="Creatore"/>
<StrRes Name="8978" Text="Produttore"/>
<StrRes Name="8979" Text=" Autentificazione "/>
<StrRes Name="8980" Text=" Autorizzazioni "/>
<StrRes Name="8981" Text="Visualizzazione"/>
<StrRes Name="8982" Text=" Impostazioni di visualizzazione "/>
<StrRes Name="8983" Text="Nascondi la barra degli strumenti"/>
<StrRes Name="8984" Text="Nascondi i menù"/>
<StrRes Name="8985" Text="Nascondi l'interfaccia utente"/>
<StrRes Name="8986" Text="Adatta alla finestra"/>
<StrRes Name="8987" Text="Centra la finestra nello schermo"/>
<StrRes Name="8988" Text="Stampa in scala (print scaling)"/>
<StrRes Name="8989" Text="Opzione di esportazione 8989"/>
<StrRes Name="9000" Text="Conteggio righe:"/>
<StrRes Name="9001" Text="Adatta al foglio"/>
<StrRes Name="9002" Text="Non adattare"/>
<StrRes Name="9003" Text="Utilizza pagine report"/>
<StrRes Name="9004" Text="Opzione di esportazione 9004"/>
<StrRes Name="9101" Text="Opzione di esportazione 9101"/>
<StrRes Name="9102" Text="Opzione di esportazione 9102"/>
<StrRes Name="9103" Text="Opzione di esportazione 9103"/>
<StrRes Name="9104" Text="Opzione di esportazione 9104"/>
<StrRes Name="9105" Text="Opzione di esportazione 9105"/>
<StrRes Name="9106" Text="Opzione di esportazione 9106"/>
<StrRes Name="9107" Text="Opzione di esportazione 9107"/>
<StrRes Name="9108" Text="Opzione di esportazione 9108"/>
<StrRes Name="9109" Text="Opzione di esportazione 9109"/>
<StrRes Name="9110" Text="Opzione di esportazione 9110"/>
<StrRes Name="9111" Text="Opzione di esportazione 9111"/>
<StrRes Name="9151" Text="Opzione di esportazione 9151"/>
<StrRes Name="9152" Text="Opzione di esportazione 9152"/>
<StrRes Name="9153" Text="Opzione di esportazione 9153"/>
<StrRes Name="9154" Text="Opzione di esportazione 9154"/>
<StrRes Name="9155" Text="Opzione di esportazione 9155"/>
<StrRes Name="9156" Text="Opzione di esportazione 9156"/>
<StrRes Name="9157" Text="Opzione di esportazione 9157"/>
<StrRes Name="9158" Text="Opzione di esportazione 9158"/>
<StrRes Name="9159" Text="Opzione di esportazione 9159"/>
<StrRes Name="9160" Text="Opzione di esportazione 9160"/>
<StrRes Name="9161" Text="Opzione di esportazione 9161"/>
<StrRes Name="9162" Text="Opzione di esportazione 9162"/>
<StrRes Name="9163" Text="Opzione di esportazione 9163"/>
<StrRes Name="9164" Text="Opzione di esportazione 9164"/>
<StrRes Name="9165" Text="Opzione di esportazione 9165"/>
<StrRes Name="9166" Text="Opzione di esportazione 9166"/>
<StrRes Name="9167" Text="Opzione di esportazione 9167"/>
<StrRes Name="9168" Text="Opzione di esportazione 9168"/>
<StrRes Name="9169" Text="Opzione di esportazione 9169"/>
<StrRes Name="9170" Text="Opzione di esportazione 9170"/>
<StrRes Name="9171" Text="Opzione di esportazione 9171"/>
<StrRes Name="9172" Text="Opzione di esportazione 9172"/>
<StrRes Name="9173" Text="Opzione di esportazione 9173"/>
<StrRes Name="9174" Text="Opzione di esportazione 9174"/>
<StrRes Name="9175" Text="Opzione di esportazione 9175"/>
<StrRes Name="9176" Text="Opzione di esportazione 9176"/>
<StrRes Name="9177" Text="Opzione di esportazione 9177"/>
<StrRes Name="9178" Text="Opzione di esportazione 9178"/>
<StrRes Name="9179" Text="Opzione di esportazione 9179"/>
<StrRes Name="9180" Text="Opzione di esportazione 9180"/>
<StrRes Name="9181" Text="Opzione di esportazione 9181"/>
<StrRes Name="9182" Text="Opzione di esportazione 9182"/>
<StrRes Name="9183" Text="Opzione di esportazione 9183"/>
<StrRes Name="9184" Text="Opzione di esportazione 9184"/>
<StrRes Name="BiffCol" Text="Colonna"/>
<StrRes Name="BiffRow" Text="Riga"/>
<StrRes Name="BiffCell" Text="Cella"/>
<StrRes Name="BiffImg" Text="Immagine"/>
<StrRes Name="9200" Text="Microsoft Excel 2007 XML"/>
<StrRes Name="9201" Text="Foglio"/>
<StrRes Name="9203" Text="Microsoft Word 2007 XML"/>
<StrRes Name="9300" Text="Opzione di esportazione 9300"/>
<StrRes Name="9301" Text="Opzione di esportazione 9301"/>
<StrRes Name="9302" Text="Opzione di esportazione 9302"/>
<StrRes Name="9303" Text="Opzione di esportazione 9303"/>
<StrRes Name="9304" Text="Opzione di esportazione 9304"/>
<StrRes Name="9400" Text="Opzione di esportazione 9400"/>
<StrRes Name="9401" Text="Opzione di esportazione 9401"/>
<StrRes Name="9402" Text="Opzione di esportazione 9402"/>
<StrRes Name="9403" Text="Opzione di esportazione 9403"/>
<StrRes Name="9404" Text="Opzione di esportazione 9404"/>
<StrRes Name="9405" Text="Opzione di esportazione 9405"/>
<StrRes Name="9406" Text="Opzione di esportazione 9406"/>
<StrRes Name="xProto" Text="Prototipo"/>
<StrRes Name="xBlank" Text="Vuoto"/>
<StrRes Name="expMailAddr" Text="Indirizzo e-mail"/>
<StrRes Name="PNGexport" Text="Immagine PNG"/>
<StrRes Name="EMFexport" Text="Metafile EMF"/>
<StrRes Name="PNGexportFilter" Text="File PNG (*.png)|*.png"/>
<StrRes Name="EMFexportFilter" Text="File EMF (*.emf)|*.emf"/>
<StrRes Name="expMailAddr" Text="Indirizzo e-mail del destinatario"/>
<StrRes Name="9512" Text="Opzione di esportazione 9512"/>
<StrRes Name="9513" Text="Opzione di esportazione 9513"/>
<StrRes Name="HTMLExtension" Text=".html"/>
<StrRes Name="SVGDescription" Text="Immagine SVG"/>
<StrRes Name="SVGFilter" Text="File SVG (*.svg)|*.svg"/>
<StrRes Name="SVGExtension" Text=".svg"/>
</Resources>
)xml";

} // namespace

void kvlAddExportStrings() { kvlResources().AddXML(QByteArray(kBlock)); }
