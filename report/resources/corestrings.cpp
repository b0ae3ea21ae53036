#include "report/resources/corestrings.h"

namespace kvlres {

// Texts are escaped twice: once for the attribute and once more for the table.
QByteArray CoreStringsXml()
{
    static const char xml[] = R"kvl(<?xml version="1.0" encoding="utf-8" standalone="no"?>
<Resources CodePage="1252">
<StrRes Name="1" Text="OK"/>
<StrRes Name="2" Text="Annulla"/>
<StrRes Name="3" Text="Tutte"/>
<StrRes Name="4" Text="Pagina corrente"/>
<StrRes Name="5" Text="Pagine:"/>
<StrRes Name="6" Text="Interruzioni di pagina"/>
<StrRes Name="7" Text="Pagine"/>
<StrRes Name="8" Text="Impostazioni di esportazione"/>
<StrRes Name="9" Text="Immettere i numeri di pagine e/o l'intervallo di pagine, separate da virgole. Per esempio, 1,3,5-12"/>
<StrRes Name="100" Text="Anteprima"/>
<StrRes Name="101" Text="Stampa"/>
<StrRes Name="102" Text="Stampa"/>
<StrRes Name="103" Text="Apri"/>
<StrRes Name="104" Text="Apri"/>
<StrRes Name="105" Text="Salva"/>
<StrRes Name="106" Text="Salva"/>
<StrRes Name="107" Text="Esporta"/>
<StrRes Name="108" Text="Esporta"/>
<StrRes Name="109" Text="Trova"/>
<StrRes Name="110" Text="Trova"/>
<StrRes Name="111" Text="Pagina intera"/>
<StrRes Name="112" Text="Pagina intera"/>
<StrRes Name="113" Text="Larghezza pagina"/>
<StrRes Name="114" Text="Larghezza pagina"/>
<StrRes Name="115" Text="100%"/>
<StrRes Name="116" Text="Dimensione reale"/>
<StrRes Name="117" Text="Due pagine"/>
<StrRes Name="118" Text="Due pagine affiancate"/>
<StrRes Name="119" Text="Zoom"/>
<StrRes Name="120" Text="Margini"/>
<StrRes Name="121" Text="Impostazioni della pagina"/>
<StrRes Name="122" Text="Schermo intero"/>
<StrRes Name="123" Text="Schermo intero"/>
<StrRes Name="124" Text="Zoom avanti"/>
<StrRes Name="125" Text="Zoom avanti"/>
<StrRes Name="126" Text="Zoom indietro"/>
<StrRes Name="127" Text="Zoom indietro"/>
<StrRes Name="128" Text="Indice"/>
<StrRes Name="129" Text="Indice"/>
<StrRes Name="130" Text="Miniature"/>
<StrRes Name="131" Text="Miniature"/>
<StrRes Name="132" Text="Modifica"/>
<StrRes Name="133" Text="Modifica pagina"/>
<StrRes Name="134" Text="Prima"/>
<StrRes Name="135" Text="Prima pagina"/>
<StrRes Name="136" Text="Precedente"/>
<StrRes Name="137" Text="Pagina precedente"/>
<StrRes Name="138" Text="Successivo"/>
<StrRes Name="139" Text="Pagina successiva"/>
<StrRes Name="140" Text="Ultima"/>
<StrRes Name="141" Text="Ultima pagina"/>
<StrRes Name="142" Text="Numero pagina"/>
<StrRes Name="150" Text="Visualizza a schermo intero"/>
<StrRes Name="151" Text="Esporta in PDF"/>
<StrRes Name="152" Text="Send by E-mail"/>
<StrRes Name="zmPageWidth" Text="Larghezza pagina"/>
<StrRes Name="zmWholePage" Text="Pagina intera"/>
<StrRes Name="200" Text="Stampa"/>
<StrRes Name="201" Text=" Stampante "/>
<StrRes Name="202" Text=" Pagine da stampare "/>
<StrRes Name="203" Text="Numero di copie"/>
<StrRes Name="204" Text="Fascicola"/>
<StrRes Name="205" Text=" Copie "/>
<StrRes Name="206" Text="Stampa:"/>
<StrRes Name="207" Text=" Altre impostazioni "/>
<StrRes Name="208" Text="Dove:"/>
<StrRes Name="209" Text="Proprietà..."/>
<StrRes Name="210" Text="Stampa su file"/>
<StrRes Name="211" Text="Ordine:"/>
<StrRes Name="212" Text="Nome:"/>
<StrRes Name="213" Text=" Modalità di stampa "/>
<StrRes Name="214" Text="Stampa su fogli"/>
<StrRes Name="216" Text="Fronte retro:"/>
<StrRes Name="ppAll" Text="Tutte le pagine"/>
<StrRes Name="ppOdd" Text="Pagine dispari"/>
<StrRes Name="ppEven" Text="Pagine pari"/>
<StrRes Name="pgDefault" Text="Default"/>
<StrRes Name="pmDefault" Text="Normale"/>
<StrRes Name="pmSplit" Text="Dividi le pagine grandi in due"/>
<StrRes Name="pmJoin" Text="Unisci le pagine piccole in una"/>
<StrRes Name="pmScale" Text="Adatta alla pagina"/>
<StrRes Name="poDirect" Text="Dalla prima pagina all'utima (1-9)"/>
<StrRes Name="poReverse" Text="Dall'ultima pagina alla prima (9-1)"/>
<StrRes Name="300" Text="Trova testo"/>
<StrRes Name="301" Text="Testo da trovare:"/>
<StrRes Name="302" Text="Opzioni di ricerca"/>
<StrRes Name="303" Text="Sostituisci con"/>
<StrRes Name="304" Text="Cerca dall'inizio"/>
<StrRes Name="305" Text="Differenzia maiuscole/minuscole"/>
<StrRes Name="400" Text="Imposta pagina"/>
<StrRes Name="401" Text="Larghezza"/>
<StrRes Name="402" Text="Altezza"/>
<StrRes Name="403" Text=" Dimensione "/>
<StrRes Name="404" Text=" Orientamento "/>
<StrRes Name="405" Text="Sinistro"/>
<StrRes Name="406" Text="Superiore"/>
<StrRes Name="407" Text="Destro"/>
<StrRes Name="408" Text="Inferiore"/>
<StrRes Name="409" Text=" Margini "/>
<StrRes Name="410" Text="Verticale"/>
<StrRes Name="411" Text="Orizzontale"/>
<StrRes Name="412" Text=" Campo di applicazione "/>
<StrRes Name="413" Text="Applica modifiche solo alla pagina corrente"/>
<StrRes Name="414" Text="Applica a tutte le pagine"/>
<StrRes Name="500" Text="Apri report preparato"/>
<StrRes Name="501" Text="Salva report preparato"/>
<StrRes Name="502" Text="Report preparato (*.kp3)|*.kp3"/>
<StrRes Name="503" Text="Tutti i file (*.*)|*.*"/>
<StrRes Name="504" Text="Esporta report"/>
<StrRes Name="505" Text="Stampa report"/>
<StrRes Name="506" Text="Salva con nome"/>
<StrRes Name="507" Text="Stampa su file"/>
<StrRes Name="508" Text="Nome del file:"/>
<StrRes Name="509" Text="Il file %s esiste già. Sovrascriverlo?"/>
<StrRes Name="510" Text="File di stampa (*.prn)|*.prn"/>
<StrRes Name="mbConfirm" Text="Richiesta di conferma"/>
<StrRes Name="mbError" Text="Errore"/>
<StrRes Name="mbInfo" Text="Avviso"/>
<StrRes Name="xrCantFindClass" Text="Classe non trovata:"/>
<StrRes Name="prVirtual" Text="Virtuale"/>
<StrRes Name="prDefault" Text="Default"/>
<StrRes Name="prCustom" Text="Personalizzata"/>
<StrRes Name="enUnconnHeader" Text="Intestazione o piede senza sezione di dati:"/>
<StrRes Name="enUnconnGroup" Text="Intestazione di gruppo senza sezione di dati:"/>
<StrRes Name="enUnconnGFooter" Text="Piede di gruppo senza intestazione di gruppo:"/>
<StrRes Name="enBandPos" Text="Posizione della sezione non valida:"/>
<StrRes Name="dbNotConn" Text="Il DataSet %s non è connesso ai dati"/>
<StrRes Name="dbFldNotFound" Text="Campo non trovato:"/>
<StrRes Name="clDSNotIncl" Text="(DataSet non incluso nel report)"/>
<StrRes Name="clUnknownVar" Text="Variabile o campo sconosciuto:"/>
<StrRes Name="clScrError" Text="Errore nel codice alla riga:colonna %s: %s"/>
<StrRes Name="clDSNotExist" Text="Il DataSet &#38;#34;%s&#38;#34; non esiste"/>
<StrRes Name="clErrors" Text="Si sono verificati i seguenti errori:"/>
<StrRes Name="clExprError" Text="Errore nell'espressione"/>
<StrRes Name="clKP3files" Text="Report preparato"/>
<StrRes Name="clComprPreparedRepFilter" Text="Report preparato compresso (*.kp3)|*.kp3"/>
<StrRes Name="clSaving" Text="Salvataggio del file..."/>
<StrRes Name="clCancel" Text="Annulla"/>
<StrRes Name="clClose" Text="Chiudi"/>
<StrRes Name="clPrinting" Text="Stampa in corso..."/>
<StrRes Name="clLoading" Text="Caricamento del file..."/>
<StrRes Name="clPageOf" Text="Pagina %d di %d"/>
<StrRes Name="clOf" Text="di %d"/>
<StrRes Name="clFirstPass" Text="Primo passaggio: pagina "/>
<StrRes Name="clNoPrinters" Text="Nessuna stampante installata"/>
<StrRes Name="clDecompressError" Text="Errore nella decompressione dei dati"/>
<StrRes Name="crFillMx" Text="Riempimento della tabella incrociata"/>
<StrRes Name="crBuildMx" Text="Costruzione della tabella incrociata"/>
<StrRes Name="prRunningFirst" Text="Primo passaggio: pagina %d"/>
<StrRes Name="prRunning" Text="Sto preparando pagina %d"/>
<StrRes Name="prPrinting" Text="Sto stampando pagina %d"/>
<StrRes Name="prExporting" Text="Sto esportando pagina %d"/>
<StrRes Name="uCm" Text="cm"/>
<StrRes Name="uInch" Text="in"/>
<StrRes Name="uPix" Text="px"/>
<StrRes Name="uChar" Text="car"/>
<StrRes Name="dupDefault" Text="Predefinito"/>
<StrRes Name="dupVert" Text="Verticale (lato lungo)"/>
<StrRes Name="dupHorz" Text="Orizzontale (lato corto)"/>
<StrRes Name="dupSimpl" Text="Simplex"/>
<StrRes Name="SLangNotFound" Text="Lingua '%s' non trovata"/>
<StrRes Name="SInvalidLanguage" Text="Definizione della lingua errata"/>
<StrRes Name="SIdRedeclared" Text="Identificativo ridichiarato: "/>
<StrRes Name="SUnknownType" Text="Tipo sconosciuto: "/>
<StrRes Name="SIncompatibleTypes" Text="Tipi incompatibili"/>
<StrRes Name="SIdUndeclared" Text="Identificativo non dichiarato --&#38;#62;"/>
<StrRes Name="SClassRequired" Text="E' richiesta una classe"/>
<StrRes Name="SIndexRequired" Text="E' richiesta un indice"/>
<StrRes Name="SStringError" Text="Le stringhe non hanno proprietà o metodi"/>
<StrRes Name="SClassError" Text="Le classi %s non hanno una proprietà predefinita"/>
<StrRes Name="SArrayRequired" Text="E' richiesto il tipo vettore"/>
<StrRes Name="SVarRequired" Text="Variabile richiesta"/>
<StrRes Name="SNotEnoughParams" Text="Parametri insufficienti"/>
<StrRes Name="STooManyParams" Text="Ci sono troppo paramentri"/>
<StrRes Name="SLeftCantAssigned" Text="La parte sinistra non può essere assegnata a"/>
<StrRes Name="SForError" Text="Le variabili dei cicli For devono essere variabili di tipo numerico"/>
<StrRes Name="SEventError" Text="Il gestore di evento deve essere una procedura"/>
<StrRes Name="600" Text="Espandi tutto"/>
<StrRes Name="601" Text="Comprimi tutto"/>
<StrRes Name="clStrNotFound" Text="Testo non trovato"/>
<StrRes Name="clCantRen" Text="Could not rename %s, it was introduced in the ancestor report"/>
<StrRes Name="clCirRefNotAllow" Text="Circular child reference is not allowed"/>
<StrRes Name="clDupName" Text="Duplicate name"/>
<StrRes Name="clErrorInExp" Text="Errore nell'espressione: "/>
<StrRes Name="expMtm" Text="Esportazione di più pagine in un file"/>
<StrRes Name="erInvalidImg" Text="Invalid image format"/>
<StrRes Name="ReportTitle" Text="Titolo del Report"/>
<StrRes Name="ReportSummary" Text="Sommario del Report"/>
<StrRes Name="PageHeader" Text="Intestazione della pagina"/>
<StrRes Name="PageFooter" Text="Pié pagina"/>
<StrRes Name="Header" Text="Intestazione"/>
<StrRes Name="Footer" Text="Piede"/>
<StrRes Name="MasterData" Text="Database principale"/>
<StrRes Name="DetailData" Text="Database dettaglio"/>
<StrRes Name="SubdetailData" Text="Sub-dettaglio dei dati"/>
<StrRes Name="Data4" Text="Dati 4° livello"/>
<StrRes Name="Data5" Text="Dati 5° livello"/>
<StrRes Name="Data6" Text="Dati 6° livello"/>
<StrRes Name="GroupHeader" Text="Intestazione del gruppo"/>
<StrRes Name="GroupFooter" Text="Piede del gruppo"/>
<StrRes Name="Child" Text="Figlio"/>
<StrRes Name="ColumnHeader" Text="Intestazione della colonna"/>
<StrRes Name="ColumnFooter" Text="Piede della colonna"/>
<StrRes Name="Overlay" Text="Sfondo"/>
<StrRes Name="2_5_interleaved" Text="2 di 5 interleaved"/>
<StrRes Name="2_5_industrial" Text="2 di 5 industrial"/>
<StrRes Name="2_5_matrix" Text="2 di 5 matrix"/>
<StrRes Name="Code39" Text="Code 39"/>
<StrRes Name="Code39 Extended" Text="Code 39 esteso"/>
<StrRes Name="Code128A" Text="Code 128 A"/>
<StrRes Name="Code128B" Text="Code 128 B"/>
<StrRes Name="Code128C" Text="Code 128 C"/>
<StrRes Name="Code93" Text="Code 93"/>
<StrRes Name="Code93 Extended" Text="Code 93 esteso"/>
<StrRes Name="MSI" Text="MSI"/>
<StrRes Name="PostNet" Text="PostNet"/>
<StrRes Name="Codebar" Text="Codabar"/>
<StrRes Name="EAN8" Text="EAN 8"/>
<StrRes Name="EAN13" Text="EAN 13"/>
<StrRes Name="UPC_A" Text="UPC A"/>
<StrRes Name="UPC_E0" Text="UPC E0"/>
<StrRes Name="UPC_E1" Text="UPC E1"/>
<StrRes Name="UPC Supp2" Text="UPC supplemento 2"/>
<StrRes Name="UPC Supp5" Text="UPC supplemento 5"/>
<StrRes Name="EAN128A" Text="EAN 128 A"/>
<StrRes Name="EAN128B" Text="EAN 128 B"/>
<StrRes Name="EAN128C" Text="EAN 128 C"/>
<StrRes Name="rpEditRep" Text="Modifica report"/>
<StrRes Name="rpEditAlias" Text="Modifica alias"/>
<StrRes Name="rave0" Text="Importazione del report"/>
<StrRes Name="rave1" Text="Lettura del file"/>
<StrRes Name="rave2" Text="Conversione delle pagine"/>
<StrRes Name="rave3" Text="Conversione degli oggetti"/>
<StrRes Name="rave4" Text="Importazione completata"/>
</Resources>
)kvl";
    return QByteArray::fromRawData(xml, sizeof xml - 1);
}

QByteArray EarlyDesignerStringsXml()
{
    static const char xml[] = R"kvl(<?xml version="1.0" encoding="utf-8" standalone="no"?>
<Resources CodePage="1252">
<StrRes Name="prDupl" Text="Nome duplicato"/>
<StrRes Name="prInvProp" Text="Valore non valido"/>
</Resources>
)kvl";
    return QByteArray::fromRawData(xml, sizeof xml - 1);
}

} // namespace kvlres
